// Differential tests of the calculo arithmetic against the long-hand oracle
// of Oraculo.h: many random values, fixed seed, bounded count.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>

#include "calculo/CY.h"
#include "calculo/Decimal.h"
#include "calculo/QMXCalculo.h"
#include "calculo/ZTCurrencyEx.h"
#include "calculo/ZTCurrencyEx8.h"
#include "Oraculo.h"

namespace
{
using oraculo::Modo;

// One generator for the whole file: each test's inputs follow the previous test's.
std::mt19937_64& Gerador()
{
    static std::mt19937_64 g(20240605u);
    return g;
}

// A random integer with a random number of digits (1 to nMaxDigitos) and sign.
std::int64_t Aleatorio(int nMaxDigitos, bool bSinal = true)
{
    auto& g = Gerador();
    std::uint64_t lim = 10;
    for (auto nDig = g() % static_cast<unsigned>(nMaxDigitos); nDig > 0; --nDig)
        lim *= 10;
    auto v = static_cast<std::int64_t>(g() % lim);
    return bSinal && (g() & 1) ? -v : v;
}

constexpr int N = 4000;
// The library's rounding-mode codes 0, 1, 2.
constexpr Modo modos[3] = {Modo::MeioLongeDoZero, Modo::Truncar, Modo::MeioPar};
} // namespace

// Products and quotients of the types, each against the oracle at the
// operands' scales (4 for CY, 8 for CZTCurrencyEx8) and the result's.
TEST(CalculoDiferencial, ProdutosEQuocientes)
{
    using Ex8 = CZTCurrencyEx8;
    const struct
    {
        const char* nome;
        int nDigA, sa, nDigB, sb, t;
        bool bQuociente;
        std::int64_t (*op)(std::int64_t, std::int64_t);
    } casos[] = {
        {"Ex8 * Ex8", 13, 8, 13, 8, 8, false, [](std::int64_t a, std::int64_t b) { return (Ex8(a) * Ex8(b)).GetRaw(); }},
        {"CY * CY", 16, 4, 12, 4, 4, false, [](std::int64_t a, std::int64_t b) { return (CY{a} * CY{b}).int64; }},
        {"Ex8 * CY", 15, 8, 12, 4, 8, false, [](std::int64_t a, std::int64_t b) { return (Ex8(a) * CY{b}).GetRaw(); }},
        {"CY * Ex8", 12, 4, 15, 8, 8, false, [](std::int64_t a, std::int64_t b) { return (CY{a} * Ex8(b)).GetRaw(); }},
        {"Ex8 / Ex8", 17, 8, 17, 8, 8, true, [](std::int64_t a, std::int64_t b) { return (Ex8(a) / Ex8(b)).GetRaw(); }},
        {"CY / CY", 18, 4, 18, 4, 4, true, [](std::int64_t a, std::int64_t b) { return (CY{a} / CY{b}).int64; }},
        {"Ex8 / CY", 18, 8, 18, 4, 8, true, [](std::int64_t a, std::int64_t b) { return (Ex8(a) / CY{b}).GetRaw(); }},
        {"CY / Ex8", 18, 4, 18, 8, 8, true, [](std::int64_t a, std::int64_t b) { return (CY{a} / Ex8(b)).GetRaw(); }},
    };
    for (const auto& c : casos)
        for (int i = 0; i < N; ++i)
        {
            const std::int64_t a = Aleatorio(c.nDigA), b = Aleatorio(c.nDigB);
            if (c.bQuociente && b == 0)
                continue;
            const auto e = c.bQuociente ? oraculo::quociente(a, c.sa, b, c.sb, c.t) : oraculo::produto(a, c.sa, b, c.sb, c.t);
            ASSERT_EQ(c.op(a, b), e.value_or(0)) << c.nome << ": " << a << ", " << b;
        }
}

TEST(CalculoDiferencial, DecimalDireto)
{
    // Operands at every scale, products and quotients, rounded to 0..28 (so
    // that the DECIMAL result's own last digit shows). Every fourth quotient
    // is built to end on an exact tie one digit beyond scale 28.
    auto& g = Gerador();
    for (int i = 0; i < 2 * N; ++i)
    {
        std::int64_t a = Aleatorio(18), b = Aleatorio(18);
        int sa = static_cast<int>(g() % 29), sb = static_cast<int>(g() % 29), t = static_cast<int>(g() % 29);
        using Operandos = std::tuple<std::int64_t, int, std::int64_t, int, int>;  // a, sa, b, sb, t
        if (i % 4 == 0)
            std::tie(a, sa, b, sb, t) = Operandos{(static_cast<std::int64_t>(g() % 1000000) * 2 + 1) * 5, 28, 10, 0, 28};
        else if (i % 4 == 1) // a product one digit beyond scale 28, ending on 5 (a tie or not)
            std::tie(a, sa, b, sb, t) =
                Operandos{static_cast<std::int64_t>(g() % 1000000) * 10 + 5, 28, static_cast<std::int64_t>(g() % 3) + 1, 1, 28};
        const std::string caso = std::to_string(a) + "e-" + std::to_string(sa) + " op " + std::to_string(b) + "e-" +
                                 std::to_string(sb) + " -> " + std::to_string(t);
        std::int64_t r = 0;
        auto e = oraculo::produto(a, sa, b, sb, t);
        ASSERT_EQ(QMXDecimalOp::Multiplicar(a, sa, b, sb, t, r), e.has_value()) << caso;
        ASSERT_TRUE(!e || r == *e) << caso << ": " << r << " expected " << e.value_or(0);
        if (b == 0)
            continue;
        e = oraculo::quociente(a, sa, b, sb, t);
        ASSERT_EQ(QMXDecimalOp::Dividir(a, sa, b, sb, t, r), e.has_value()) << caso;
        ASSERT_TRUE(!e || r == *e) << caso << ": " << r << " expected " << e.value_or(0);
    }
}

TEST(CalculoDiferencial, DoubleCom15Digitos)
{
    // The exact binary value of the double rounded to 15 significant digits
    // (glibc's %.14e rounds the exact value half to even).
    auto& g = Gerador();
    std::uniform_real_distribution<double> expo(-12.0, 20.0);
    for (int i = 0; i < N; ++i)
    {
        double d = std::pow(10.0, expo(g)) * ((g() & 1) ? -1 : 1);
        if (i % 4 == 0)
            d = static_cast<double>(Aleatorio(9)) / 1000.0; // short decimals, as in real input
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.14e", d); // [-]D.DDDDDDDDDDDDDDe[+-]XX
        const bool neg = buf[0] == '-';
        const char* s = buf + (neg ? 1 : 0);
        unsigned __int128 m = 0;
        for (int k = 0; k < 16; ++k)
            if (k != 1)
                m = m * 10 + static_cast<unsigned>(s[k] - '0');
        int escala = 14 - std::atoi(s + 17);
        if (escala > 28)
            continue;
        for (; escala < 0; ++escala)
            m *= 10;
        for (; escala > 0 && m % 10 == 0; --escala)
            m /= 10;
        CQMXDecimal dec;
        ASSERT_TRUE(CQMXDecimal::DeDouble(d, dec)) << buf;
        ASSERT_TRUE(m == 0 || (dec.GetMantissa() == m && dec.GetEscala() == escala && dec.IsNegativo() == neg)) << buf;
    }
}

TEST(CalculoDiferencial, DoubleParaCY)
{
    // Half to even on the exact binary value, checked with exact rationals.
    auto& g = Gerador();
    for (int i = 0; i < N; ++i)
    {
        std::int64_t n = Aleatorio(14); // within the CY range once divided
        double d = static_cast<double>(n) / static_cast<double>(std::int64_t{1} << (g() % 20));
        int e2; // d is exactly M * 2^E
        auto M = static_cast<std::int64_t>(std::ldexp(std::frexp(d, &e2), 53));
        int E = e2 - 53;
        oraculo::Q x = E >= 0 ? oraculo::qde(M, 0) * oraculo::Q{static_cast<oraculo::i128>(1) << E, 1}
                              : oraculo::norm(M, static_cast<oraculo::i128>(1) << -E);
        ASSERT_EQ(CYDeDouble(d).int64, oraculo::escalado(oraculo::arred(x, 4, Modo::MeioPar), 4)) << d;
    }
}

TEST(CalculoDiferencial, ModosDeArredondamentoEx8)
{
    auto& g = Gerador();
    for (int i = 0; i < 3 * N; ++i)
    {
        std::int64_t v = Aleatorio(17);
        int d = static_cast<int>(g() % 9);
        int modo = static_cast<int>(g() % 3);
        CZTCurrencyEx8 x;
        x.SetFormat(d, modo);
        x.SetRaw(v);
        ASSERT_EQ(x.GetRaw(), oraculo::arredondaDigitos(v, 8 - d, modos[modo])) << v << " d=" << d << " m=" << modo;
        CZTCurrencyEx8 y; // the same through an assignment into an object of those settings
        y.SetFormat(d, modo);
        y = CZTCurrencyEx8(v);
        ASSERT_EQ(y.GetRaw(), x.GetRaw());
    }
}

TEST(CalculoDiferencial, ModosDeArredondamentoEx)
{
    auto& g = Gerador();
    for (int i = 0; i < 3 * N; ++i)
    {
        std::int64_t v = Aleatorio(17);
        auto pedido = static_cast<std::int16_t>(static_cast<int>(g() % 7) - 1); // -1 .. 5
        int d = pedido == 0 ? 0 : (pedido == 1 || pedido == 2) ? 2 : 4;
        int modo = static_cast<int>(g() % 3);
        CZTCurrencyEx x;
        x.SetRounding(modo);
        x.SetDecimals(pedido);
        x.SetValue(CY{v});
        ASSERT_EQ(x.GetDecimals(), d);
        ASSERT_EQ(x.GetCY().int64, oraculo::arredondaDigitos(v, 4 - d, modos[modo])) << v << " d=" << d;
    }
}

TEST(CalculoDiferencial, ValoresDoItem)
{
    using namespace oraculo;
    auto& g = Gerador();
    for (int i = 0; i < N; ++i)
    {
        REG_QMXCALCULO_VALOR_ITEM_CUPOM r{};
        r.ValorUnitario = Aleatorio(12, false) + 1;   // up to 9 999.99999999
        r.Quantidade = CY{Aleatorio(8, false) + 1};   // up to 9 999.9999
        r.ValorAcrescimo = CY{(g() % 3 == 0) ? Aleatorio(6, false) : 0};
        r.PercentualAcrescimo = static_cast<std::uint16_t>(g() % 3000);
        r.DecimaisValor = static_cast<std::uint8_t>(g() % 6);
        r.DecimaisQuantidade = static_cast<std::uint8_t>(g() % 6);
        r.DescontoPercentual = static_cast<std::uint8_t>(g() % 3 == 0 ? 1 : 0);
        r.Desconto = CY{r.DescontoPercentual == 1 ? Aleatorio(6, false) % 1000000 : (g() % 2 ? Aleatorio(6, false) : 0)};
        r.AcrescimoNoUnitario = static_cast<std::uint8_t>(g() % 2);
        r.AcrescimoPercentual = static_cast<std::uint8_t>(g() % 2);
        r.Arredondamento = static_cast<std::uint8_t>(g() % 3);
        const REG_QMXCALCULO_VALOR_ITEM_CUPOM entrada = r;

        // The oracle: each step of the item calculation on exact rationals.
        const int dv = entrada.DecimaisValor > 2 ? 3 : 2;
        const int dq = entrada.DecimaisQuantidade > 3 ? 3 : entrada.DecimaisQuantidade;
        Q preco = arred(qde(entrada.ValorUnitario, 8), dv, Modo::Truncar);
        Q qtd = arred(qde(entrada.Quantidade.int64, 4), dq, Modo::Truncar);
        Q acr = entrada.AcrescimoPercentual ? arred(preco * qde(entrada.PercentualAcrescimo, 4), dv, Modo::MeioPar)
                                            : arred(qde(entrada.ValorAcrescimo.int64, 4), dv, Modo::MeioPar);
        if (entrada.AcrescimoNoUnitario)
            preco = arred(preco + acr, dv, Modo::Truncar);
        Q totAcr = arred(qtd * acr, 2, Modo::MeioPar);
        Q desc = arred(qde(entrada.Desconto.int64, 4), 2, Modo::MeioPar);
        Q bruto = arred(preco * qtd, 2, entrada.Arredondamento == 1 ? Modo::MeioPar : Modo::Truncar);
        Q totDesc{0, 1};
        if (desc.n > 0)
        {
            Q x = desc;
            if (entrada.DescontoPercentual == 1)
                x = arred(preco * x / qde(100, 0), 2, Modo::MeioPar);
            totDesc = arred(x * qtd, 2, Modo::MeioPar);
        }
        Q liquido = bruto - totDesc;

        CQMXCalculo::CalcularValoresItemCupom(&r);
        ASSERT_EQ(r.DecimaisValor, dv);
        ASSERT_EQ(r.DecimaisQuantidade, dq);
        const std::int64_t obtido[] = {r.ValorUnitario,        r.Quantidade.int64, r.AcrescimoUnitario.int64,
                                       r.TotalAcrescimo.int64, r.Desconto.int64,   r.ValorBruto.int64,
                                       r.TotalDesconto.int64,  r.ValorLiquido.int64};
        const std::int64_t esperado[] = {escalado(preco, 8),  escalado(qtd, 4),     escalado(acr, 4),
                                         escalado(totAcr, 4), escalado(desc, 4),    escalado(bruto, 4),
                                         escalado(totDesc, 4), escalado(liquido, 4)};
        for (int k = 0; k < 8; ++k)
            ASSERT_EQ(obtido[k], esperado[k]) << "item " << i << ", field " << k;
    }
}

TEST(CalculoDiferencial, RateioDeCuponsAleatorios)
{
    auto& g = Gerador();
    const std::int64_t aliquotas[] = {0, 70000, 120000, 170000, 180000, 250000, 123400};
    for (int c = 0; c < 1500; ++c)
    {
        int n = 1 + static_cast<int>(g() % 40);
        std::vector<tagREG_EC_CX_CIPS> itens(static_cast<std::size_t>(n));
        bool bServicos = g() % 3 == 0;
        std::int64_t nTotal = 0;
        for (auto& it : itens)
        {
            it = tagREG_EC_CX_CIPS{};
            it.ValorItem = (Aleatorio(6, false) + 1) * (g() % 4 == 0 ? 1 : 1000000); // some with 8 decimals
            it.ValorAssociado = CY{g() % 2 ? Aleatorio(6, false) * 100 : 0}; // whole cents
            it.Aliquota = CY{aliquotas[g() % 7]};
            it.TipoTributacao = static_cast<std::uint8_t>(g() % 4);
            it.Excluido = static_cast<std::uint8_t>(g() % 10 == 0);
            it.Servico = static_cast<std::uint8_t>(g() % 8 == 0);
            if (it.Excluido == 0 && (bServicos || it.Servico == 0))
                nTotal += it.ValorItem;
        }
        if (nTotal == 0)
            continue;
        // A discount up to the whole participating total, with 2 to 8 decimals.
        std::int64_t nDesconto = static_cast<std::int64_t>(g() % static_cast<std::uint64_t>(nTotal)) + 1;
        if (g() % 2)
            nDesconto -= nDesconto % 1000000;
        if (nDesconto == 0)
            nDesconto = 1000000;
        const auto antes = itens;
        CQMXCalculo::RatearDescontoCupom(itens.data(), n, CZTCurrencyEx8(nDesconto), bServicos);

        std::int64_t nReducao = 0;
        for (int i = 0; i < n; ++i)
        {
            const auto& a = antes[static_cast<std::size_t>(i)];
            const auto& d = itens[static_cast<std::size_t>(i)];
            bool bParticipa = a.Excluido == 0 && (bServicos || a.Servico == 0);
            ASSERT_TRUE(bParticipa || d.ValorItem == a.ValorItem) << "cupom " << c;
            nReducao += a.ValorItem - d.ValorItem;
            // Unchanged when not taking part or when not positive; otherwise never larger.
            if (!bParticipa || a.ValorAssociado.int64 <= 0)
                ASSERT_EQ(d.ValorAssociado.int64, a.ValorAssociado.int64);
            else
                ASSERT_LE(d.ValorAssociado.int64, a.ValorAssociado.int64);
            ASSERT_EQ(d.ValorAssociado.int64 % 100, 0); // whole cents stay whole cents
        }
        ASSERT_EQ(nReducao, nDesconto) << "cupom " << c;
    }
}
