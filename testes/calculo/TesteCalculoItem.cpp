// Edge cases of item values and discount rules.
#include <gtest/gtest.h>

#include "calculo/QMXCalculo.h"

namespace
{
CZTCurrencyEx8 E8(double d)
{
    return CZTCurrencyEx8(d);
}
} // namespace

TEST(CalculoItem, RegistroNuloEPrecoOuQuantidadeZero)
{
    CQMXCalculo::CalcularValoresItemCupom(nullptr);
    // Nothing is computed nor normalised when price or quantity is zero.
    for (auto [nPreco, nQtd] : {std::pair<std::int64_t, std::int64_t>{0, 10000}, {100000000, 0}})
    {
        REG_QMXCALCULO_VALOR_ITEM_CUPOM r{.ValorUnitario = nPreco, .Quantidade = CY{nQtd}, .TotalDesconto = CY{99},
                                          .ValorBruto = CY{99}, .ValorLiquido = CY{99}, .AcrescimoUnitario = CY{99},
                                          .TotalAcrescimo = CY{99}, .DecimaisValor = 7, .DecimaisQuantidade = 9};
        CQMXCalculo::CalcularValoresItemCupom(&r);
        for (const CY& c : {r.ValorBruto, r.TotalDesconto, r.ValorLiquido, r.AcrescimoUnitario, r.TotalAcrescimo})
            EXPECT_EQ(c.int64, 0) << nPreco << " x " << nQtd;
        EXPECT_EQ(r.DecimaisValor, 7);
        EXPECT_EQ(r.DecimaisQuantidade, 9);
    }
}

// The rules the random cases of the differential test seldom or never reach:
// exact ties, flag values it does not draw, a negative discount.
TEST(CalculoItem, ValoresDoItem)
{
    const struct
    {
        const char* pszCaso;
        std::int64_t nPreco8, nQtd4;
        int nDecValor, nDecQtd;
        std::int64_t nDesconto;
        int nDescPerc, nAcrPerc, nPercAcr;
        std::int64_t nValorAcr;
        int nNoUnitario, nArred;
        // expected: -1 leaves the field unchecked
        std::int64_t nPrecoFinal, nQtdFinal, nDescFinal, nAcrUnit, nTotAcr, nBruto, nTotDesc, nLiquido;
        int nDecValorFinal, nDecQtdFinal;
    } casos[] = {
        {"3.33 x 0.335 = 1.11555 half to even", 333000000, 3350, 2, 3, 0, 0, 0, 0, 0, 0, 1,
         -1, -1, -1, -1, -1, 11200, -1, -1, -1, -1},
        {"50.00 x 1, percentage flag 2: 10.00 is an amount", 5000000000, 10000, 2, 3, 100000, 2, 0, 0, 0, 0, 0,
         -1, -1, 100000, -1, -1, 500000, 100000, 400000, -1, -1},
        {"10.00 x 1, a negative discount is rounded but not applied", 1000000000, 10000, 2, 3, -1250, 0, 0, 0, 0, 0, 0,
         -1, -1, -1200, -1, -1, 100000, 0, 100000, -1, -1},
        {"5.00 x 2.5, 0.125 per unit -> 0.12", 500000000, 25000, 2, 3, 1250, 0, 0, 0, 0, 0, 0,
         -1, -1, 1200, -1, -1, -1, 3000, 122000, -1, -1},
        {"10.00 x 1, amount 0.125 -> 0.12", 1000000000, 10000, 2, 3, 0, 0, 0, 0, 1250, 0, 0,
         -1, -1, -1, 1200, 1200, -1, -1, -1, -1, -1},
    };
    for (const auto& c : casos)
    {
        const auto u8 = [](int n) { return static_cast<std::uint8_t>(n); };
        REG_QMXCALCULO_VALOR_ITEM_CUPOM r{
            .ValorUnitario = c.nPreco8, .ValorAcrescimo = CY{c.nValorAcr}, .Quantidade = CY{c.nQtd4},
            .Desconto = CY{c.nDesconto}, .PercentualAcrescimo = static_cast<std::uint16_t>(c.nPercAcr),
            .DecimaisValor = u8(c.nDecValor), .DecimaisQuantidade = u8(c.nDecQtd), .DescontoPercentual = u8(c.nDescPerc),
            .AcrescimoNoUnitario = u8(c.nNoUnitario), .AcrescimoPercentual = u8(c.nAcrPerc), .Arredondamento = u8(c.nArred)};
        CQMXCalculo::CalcularValoresItemCupom(&r);
        const std::int64_t esperado[] = {c.nPrecoFinal, c.nQtdFinal, c.nDescFinal, c.nAcrUnit,        c.nTotAcr,
                                         c.nBruto,      c.nTotDesc,  c.nLiquido,   c.nDecValorFinal, c.nDecQtdFinal};
        const std::int64_t obtido[] = {r.ValorUnitario,   r.Quantidade.int64,    r.Desconto.int64,
                                       r.AcrescimoUnitario.int64, r.TotalAcrescimo.int64, r.ValorBruto.int64,
                                       r.TotalDesconto.int64,     r.ValorLiquido.int64,   r.DecimaisValor,
                                       r.DecimaisQuantidade};
        for (int k = 0; k < 10; ++k)
            EXPECT_TRUE(esperado[k] == -1 || obtido[k] == esperado[k])
                << c.pszCaso << ", field " << k << ": " << obtido[k] << " expected " << esperado[k];
    }
}

TEST(CalculoItem, AplicaDesconto)
{
    CZTCurrencyEx8 total = E8(8.97);
    CY d{30000000}; // 0.30 as eight-decimal raw
    EXPECT_EQ(CQMXCalculo::AplicaDesconto(E8(2.99), total, d, E8(3.0), true, false, 2).GetRaw(), 90000000);
    EXPECT_EQ(total.GetRaw(), 807000000);
    CY p{1000000000}; // 10 %
    CZTCurrencyEx8 total2 = E8(8.97);
    CQMXCalculo::AplicaDesconto(E8(2.99), total2, p, E8(3.0), true, true, 2);
    EXPECT_EQ(p.int64, 30000000); // the unit discount as an amount goes back
    EXPECT_EQ(total2.GetRaw(), 807000000);
    CY a{12500000}; // 0.125 per unit goes back rounded half to even: 0.12
    CZTCurrencyEx8 total3 = E8(8.97);
    EXPECT_EQ(CQMXCalculo::AplicaDesconto(E8(2.99), total3, a, E8(3.0), true, false, 2).GetRaw(), 36000000);
    EXPECT_EQ(a.int64, 12000000);
    EXPECT_EQ(total3.GetRaw(), 861000000);
    // The special discount of the items.
    CZTCurrencyEx8 v = E8(33.33);
    EXPECT_EQ(CQMXCalculo::AplicaDescontoEspecialItens(v, E8(10.0), E8(100.0), 0).GetRaw(), 333000000);
    EXPECT_EQ(v.GetRaw(), 3000000000);
    EXPECT_EQ(v.GetDecimals(), 8);
    // Half away from zero after the division: 0.125 -> 0.13.
    CZTCurrencyEx8 w = E8(1.25);
    EXPECT_EQ(CQMXCalculo::AplicaDescontoEspecialItens(w, E8(1.0), E8(10.0), 0).GetRaw(), 13000000);
}

TEST(CalculoItem, ValidarDesconto)
{
    // Price 10.00 x 3; a percentage discount against an amount limit: 5 % of 10.00 = 0.50, x 3 = 1.50.
    const struct
    {
        double dDesconto, dLimite;
        bool bDescPerc, bLimitePerc, bValido;
    } casos[] = {{0.40, 1.00, false, false, false}, {0.40, 5.00, false, true, true},  {0.50, 5.00, false, true, true},
                 {0.51, 5.00, false, true, false},  {0.01, 0.0, false, false, false}, {0.0, 0.0, false, false, true},
                 {5.0, 5.0, true, true, true},      {5.0001, 5.0, true, true, false}, {5.0, 1.50, true, false, true},
                 {5.0, 1.49, true, false, false}};
    const CZTCurrencyEx q(3.0);
    for (const auto& c : casos)
        EXPECT_EQ(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(c.dDesconto), CZTCurrencyEx(c.dLimite),
                                               c.bDescPerc, c.bLimitePerc),
                  c.bValido)
            << c.dDesconto << " against " << c.dLimite;
}

TEST(CalculoItem, ValidaDesconto)
{
    // Value 10.00 as eight-decimal raw; 5 % of it (0.50) as a limit; a 6 % discount (0.60) against 0.55.
    const struct
    {
        std::int64_t nDesconto, nLimite;
        bool bDescPerc, bLimitePerc, bValido;
    } casos[] = {{999900000000, 0, false, false, true},      {0, 100, false, false, true},
                 {50000000, 50000000, false, false, true},   {51000000, 50000000, false, false, false},
                 {50000000, 500000000, false, true, true},   {51000000, 500000000, false, true, false},
                 {600000000, 55000000, true, false, false},
                 // Both percentages: compared as amounts of the value, each rounded to the cent.
                 {500000000, 500000000, true, true, true},   {501000000, 500000000, true, true, true},
                 {506000000, 500000000, true, true, false}};
    for (const auto& c : casos)
        EXPECT_EQ(CQMXCalculo::ValidaDesconto(CY{1000000000}, CY{c.nDesconto}, CY{c.nLimite}, c.bDescPerc,
                                              c.bLimitePerc, 0),
                  c.bValido)
            << c.nDesconto << " against " << c.nLimite;
}

TEST(CalculoItem, VerificaDesconto)
{
    // 1.00 of 10.00 is 10 %. 0.333 of 3.00 is 11.1 %: with 2 decimals the discount rounds to 0.33 -> 11.00 %.
    // Compared directly: 0.125 and 0.13 are equal at 2 decimals half away from zero.
    const struct
    {
        double dValor, dDesconto, dLimite;
        bool bPerc;
        int nDec;
        bool bValido;
    } casos[] = {{10.0, 1.0, 10.0, true, 2, true},   {10.0, 1.01, 10.0, true, 2, false},
                 {3.0, 0.333, 11.0, true, 2, true},  {3.0, 0.333, 11.0, true, 3, false},
                 {3.0, 0.125, 0.13, false, 2, true}, {3.0, 0.125, 0.12, false, 2, false}};
    for (const auto& c : casos)
        EXPECT_EQ(CQMXCalculo::VerificaDesconto(E8(c.dValor), E8(c.dDesconto), E8(c.dLimite), c.bPerc, c.nDec), c.bValido)
            << c.dDesconto << " of " << c.dValor << " against " << c.dLimite << " d=" << c.nDec;
}
