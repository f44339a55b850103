// Edge cases of discount apportionment and approximate taxes.
#include <gtest/gtest.h>

#include <vector>

#include "calculo/QMXCalculo.h"

namespace
{
tagREG_EC_CX_CIPS Item(double dValor, double dAliquota, std::uint8_t nTipo = 0, double dAssociado = 0.0)
{
    return {.ValorItem = CZTCurrencyEx8(dValor).GetRaw(), .ValorAssociado = CYDeDouble(dAssociado),
            .Aliquota = CYDeDouble(dAliquota), .TipoTributacao = nTipo};
}

std::int64_t R8(double d)
{
    return CZTCurrencyEx8(d).GetRaw();
}
} // namespace

// Shares of the discount: the remainder goes to the group of the highest rate,
// then of the smaller tax-kind code, then to the first; within the group to its
// largest item.
TEST(CalculoCupom, Rateio)
{
    struct Caso
    {
        const char* pszCaso;
        std::vector<tagREG_EC_CX_CIPS> itens;
        double dDesconto;
        std::vector<std::int64_t> esperado;
    };
    const Caso casos[] = {
        {"three equal items", {Item(10, 17), Item(10, 17), Item(10, 17)}, 10.0, {R8(6.66), R8(6.67), R8(6.67)}},
        // 0.01 over 20.00: 0.0005 each, nothing for the groups; all of it to the 17 % group.
        {"highest rate", {Item(10, 7), Item(10, 17)}, 0.01, {R8(10), R8(9.99)}},
        {"smaller tax kind, even later", {Item(10, 17, 3), Item(10, 17, 1), Item(10, 17, 2)}, 0.01,
         {R8(10), R8(9.99), R8(10)}},
        {"factor with eight decimals", {Item(400, 17), Item(600, 17)}, 0.00001, {R8(400), R8(600) - 1000}},
        // T 85.00, F 0.1176: the 7 % group gets -1.76, its shares -1.17 and -0.58
        // leave -0.01 for its largest item (-5.00).
        {"negative group", {Item(100, 17), Item(-10, 7), Item(-5, 7)}, 10.0, {R8(88.24), R8(-8.83), R8(-4.41)}},
    };
    for (Caso c : casos)
    {
        CQMXCalculo::RatearDescontoCupom(c.itens.data(), static_cast<int>(c.itens.size()),
                                         CZTCurrencyEx8(c.dDesconto), false);
        for (std::size_t i = 0; i < c.itens.size(); ++i)
            EXPECT_EQ(c.itens[i].ValorItem, c.esperado[i]) << c.pszCaso << ", item " << i;
    }
    // Equal everything but position: the first group of the largest total (17 %, 15.00).
    std::vector<tagREG_EC_CX_CIPS> x = {Item(5, 17, 1), Item(10, 17, 1), Item(10, 12, 1)};
    CQMXCalculo::RatearDescontoCupom(x.data(), 3, CZTCurrencyEx8(0.01), false);
    EXPECT_EQ(x[0].ValorItem + x[1].ValorItem + x[2].ValorItem, R8(24.99));
    EXPECT_EQ(x[1].ValorItem + x[0].ValorItem, R8(14.99));
}

TEST(CalculoCupom, ExcluidosEServicos)
{
    std::vector<tagREG_EC_CX_CIPS> v = {Item(10, 17, 0, 2), Item(10, 17, 0, 2), Item(10, 17, 0, 2)};
    v[0].Excluido = 1;
    v[1].Servico = 1;
    CQMXCalculo::RatearDescontoCupom(v.data(), 3, CZTCurrencyEx8(1.0), false);
    EXPECT_EQ(std::tuple(v[0].ValorItem, v[0].ValorAssociado.int64, v[1].ValorItem, v[1].ValorAssociado.int64,
                         v[2].ValorItem, v[2].ValorAssociado.int64),
              std::tuple(R8(10), 20000, R8(10), 20000, R8(9), 18000));
    std::vector<tagREG_EC_CX_CIPS> w = {Item(10, 17), Item(10, 17)};
    w[1].Servico = 1;
    CQMXCalculo::RatearDescontoCupom(w.data(), 2, CZTCurrencyEx8(1.0), true);
    EXPECT_EQ(w[0].ValorItem, R8(9.5));
    EXPECT_EQ(w[1].ValorItem, R8(9.5));
}

TEST(CalculoCupom, ValorAssociado)
{
    std::vector<tagREG_EC_CX_CIPS> v = {Item(50, 17, 0, 9), Item(50, 17, 0, 0)};
    CQMXCalculo::RatearDescontoCupom(v.data(), 2, CZTCurrencyEx8(10.0), false);
    EXPECT_EQ(std::tuple(v[0].ValorItem, v[0].ValorAssociado.int64, v[1].ValorAssociado.int64), std::tuple(R8(45), 81000, 0));
    // Three items of 10.00 with 1.00 associated: each share 3.33 takes
    // 1.00 x 3.33 / 10.00 = 0.333 -> 0.33 off it; the remainder 0.01 to the
    // first takes 0.67 x 0.01 / 6.67 = 0.001 -> 0.00 (half to even).
    std::vector<tagREG_EC_CX_CIPS> w = {Item(10, 17, 0, 1), Item(10, 17, 0, 1), Item(10, 17, 0, 1)};
    CQMXCalculo::RatearDescontoCupom(w.data(), 3, CZTCurrencyEx8(10.0), false);
    EXPECT_EQ(std::tuple(w[0].ValorAssociado.int64, w[1].ValorAssociado.int64, w[0].ValorItem),
              std::tuple(6700, 6700, R8(6.66)));
}

TEST(CalculoCupom, SemMudancaParaDescontoZeroOuCupomVazio)
{
    std::vector<tagREG_EC_CX_CIPS> v = {Item(10, 17)};
    CQMXCalculo::RatearDescontoCupom(v.data(), 1, CZTCurrencyEx8(0.0), false);
    EXPECT_EQ(v[0].ValorItem, R8(10));
    CQMXCalculo::RatearDescontoCupom(v.data(), 0, CZTCurrencyEx8(1.0), false);
    CQMXCalculo::RatearDescontoCupom(v.data(), -1, CZTCurrencyEx8(1.0), false);
    EXPECT_EQ(v[0].ValorItem, R8(10));
    // No participating item: nothing changes.
    v[0].Excluido = 1;
    CQMXCalculo::RatearDescontoCupom(v.data(), 1, CZTCurrencyEx8(1.0), false);
    EXPECT_EQ(v[0].ValorItem, R8(10));
}

TEST(CalculoCupom, ImpostosAproximados)
{
    std::vector<REG_QMXCALCULO_IMPOSTOS_ITEM> v(3);
    for (auto& i : v)
        i = REG_QMXCALCULO_IMPOSTOS_ITEM{CY{1000}, CY{0}, 100, 0, 0};
    REG_QMXCALCULO_IMPOSTOS_CUPOM r{CY{1}, CY{1}, CY{1}, CY{1}};
    CQMXCalculo::CalcularImpostosAproxCupom(v, r);
    EXPECT_EQ(std::tuple(r.TotalAgrupado.int64, r.Total2.int64, r.TotalInformado.int64), std::tuple(0, 0, 0));
    for (auto& i : v)
        i = REG_QMXCALCULO_IMPOSTOS_ITEM{CY{1000}, CY{123}, 0, 100, 50};
    CQMXCalculo::CalcularImpostosAproxCupom(v, r);
    // Total3 is 0.0005 per item.
    EXPECT_EQ(std::tuple(r.Total2.int64, r.Total3.int64, r.TotalInformado.int64, r.TotalAgrupado.int64),
              std::tuple(30, 15, 369, 0));
    // 33.33 at 1.00 %: grouped 0.3333 -> 0.33 per rate; two rates.
    v = {{CY{111100}, CY{0}, 100, 0, 0}, {CY{111100}, CY{0}, 100, 0, 0}, {CY{111100}, CY{0}, 100, 0, 0},
         {CY{1000000}, CY{0}, 1755, 0, 0}, {CY{0}, CY{0}, 0, 0, 0}};
    r = REG_QMXCALCULO_IMPOSTOS_CUPOM{};
    CQMXCalculo::CalcularImpostosAproxCupom(v, r);
    EXPECT_EQ(r.TotalAgrupado.int64, 3300 + 175500);
    std::vector<REG_QMXCALCULO_IMPOSTOS_ITEM> vazio;
    r = REG_QMXCALCULO_IMPOSTOS_CUPOM{CY{1}, CY{1}, CY{1}, CY{1}};
    CQMXCalculo::CalcularImpostosAproxCupom(vazio, r);
    EXPECT_EQ(r.TotalAgrupado.int64 + r.TotalInformado.int64 + r.Total2.int64 + r.Total3.int64, 0);
}
