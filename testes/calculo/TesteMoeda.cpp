// Edge cases of the currency types and of the platform's CY and DECIMAL.
#include <gtest/gtest.h>

#include "calculo/CY.h"
#include "calculo/Decimal.h"
#include "calculo/ZTCurrencyEx.h"
#include "calculo/ZTCurrencyEx8.h"

namespace
{
CZTCurrencyEx8 Ex8(double d, int nDec, int nModo)
{
    CZTCurrencyEx8 x;
    x.SetFormat(nDec, nModo);
    x = d;
    return x;
}

std::int64_t Div(std::int64_t a, int sa, std::int64_t b, int sb, int t)
{
    std::int64_t r = 0;
    EXPECT_TRUE(QMXDecimalOp::Dividir(a, sa, b, sb, t, r));
    return r;
}
} // namespace

TEST(CalculoMoeda, PadroesSetDecimalsSetFormatESetRound)
{
    // Which decimals a request gives is checked against the oracle (TesteDiferencial).
    CZTCurrencyEx p4(1.23456);
    EXPECT_EQ(std::tuple(p4.GetCY().int64, p4.GetDecimals(), p4.GetRounding()),
              std::tuple(12346, 4, CZTCurrencyEx::Truncate));
    CZTCurrencyEx8 p8;
    EXPECT_EQ(std::tuple(p8.GetDecimals(), p8.GetRounding()), std::tuple(8, CZTCurrencyEx8::RoundHalfAwayFromZero));
    CZTCurrencyEx x(2.555);
    x.SetFormat(true, true);
    EXPECT_EQ(x.GetCY().int64, 25600);
    EXPECT_TRUE(x.IsRound());
    CZTCurrencyEx y(2.559);
    y.SetFormat(true, false);
    EXPECT_EQ(y.GetCY().int64, 25500);
    CZTCurrencyEx z(2.565);
    z.SetDecimals(2);
    z.SetRounding(CZTCurrencyEx::RoundHalfEven);
    EXPECT_EQ(z.GetCY().int64, 25600); // truncated to 2.56 first, by the default mode
    EXPECT_EQ(CZTCurrencyEx(true, CZTCurrencyEx::RoundHalfEven, 2.565).GetCY().int64, 25600);
    EXPECT_EQ(CZTCurrencyEx(true, CZTCurrencyEx::RoundHalfEven, 2.575).GetCY().int64, 25800);
    CZTCurrencyEx u(false, CZTCurrencyEx::RoundHalfEven, 2.5);
    EXPECT_EQ(u.GetCY().int64, 25000);
    u.SetDecimals(0);
    EXPECT_EQ(u.GetCY().int64, 20000);
}

TEST(CalculoMoeda, ProdutoArredondadoSoNaAtribuicaoCopiaLevaConfiguracoes)
{
    CZTCurrencyEx8 a(0.33333333), b(3.0);
    CZTCurrencyEx8 p = a * b;
    EXPECT_EQ(p.GetRaw(), 99999999);
    EXPECT_EQ(p.GetDecimals(), 8);
    for (auto [bArredonda, nRaw] : {std::pair{false, 99000000}, {true, 100000000}})
    {
        CZTCurrencyEx8 t;
        t.SetFormat(2, bArredonda);
        t = a * b;
        EXPECT_EQ(t.GetRaw(), nRaw);
    }
    // A copy takes the format; an assignment only the value.
    CZTCurrencyEx8 f;
    f.SetFormat(2, CZTCurrencyEx8::Truncate);
    f = 1.239;
    CZTCurrencyEx8 g(f);
    EXPECT_EQ(std::tuple(g.GetDecimals(), g.GetRounding()), std::tuple(2, CZTCurrencyEx8::Truncate));
    CZTCurrencyEx8 c;
    c.SetFormat(1, CZTCurrencyEx8::RoundHalfEven);
    c = f; // 1.23 at 1 decimal half to even
    EXPECT_EQ(std::tuple(c.GetDecimals(), c.GetRaw()), std::tuple(1, 120000000));
    CZTCurrencyEx8 d;
    d = CZTCurrencyEx(true, true, 7.125);
    EXPECT_EQ(d.GetRaw(), 713000000);
}

TEST(CalculoMoeda, ComparacaoComDoubleEGetHundredths)
{
    EXPECT_EQ(CZTCurrencyEx(12.349).GetHundredths(), 1234);
    EXPECT_EQ(CZTCurrencyEx(-12.349).GetHundredths(), -1234);
    CZTCurrencyEx x(true, false, 10.999);
    EXPECT_TRUE(x.GetCY() == 10.99);
    EXPECT_FALSE(x.GetCY() != 10.99);
    EXPECT_TRUE(x.GetCY() < 10.991);   // 10.991 is 10.9910 as a CY
    EXPECT_TRUE(x.GetCY() <= 10.99004); // 10.9900 as a CY
    EXPECT_TRUE(x.GetCY() >= 10.98995); // 10.98995 becomes 10.9899 or 10.9900, both <= 10.99
    EXPECT_TRUE(11.0 > x.GetCY());
    EXPECT_TRUE(CY{0} < 1e300);
    EXPECT_TRUE(CY{0} > -1e300);
}

TEST(CalculoMoeda, ApplyRateEToCurrencyEx)
{
    CZTCurrencyEx y(0.0125);
    EXPECT_EQ(CZTCurrencyEx(100.0).ApplyRate(1800).int64, 180000);
    EXPECT_EQ(y.ApplyRate(5000).int64, 62);                       // 0.00625 -> 0.0062 half to even
    EXPECT_EQ(CZTCurrencyEx(0.0135).ApplyRate(5000).int64, 68);   // 0.00675 -> 0.0068
    EXPECT_EQ(y.GetCY().int64, 125);                              // not changed
    EXPECT_EQ(CZTCurrencyEx8(1.23456789).ApplyRate(1800).GetRaw(), 22222222); // 0.2222222202
    for (auto [d, nCY] : {std::pair{1.23456789, 12346}, {1.00005, 10000}, {1.00015, 10002}})
        EXPECT_EQ(CZTCurrencyEx8(d).ToCurrencyEx().GetCY().int64, nCY) << d;
}

// The operators' corners the differential tests do not reach: a compound
// operator rounds to the object's own decimals and mode at each step; a
// double is taken as OLE takes it; division by zero and overflow give 0.
TEST(CalculoMoeda, CantosDosOperadores)
{
    CZTCurrencyEx x(true, false, 10.0);
    x += CY{12345}; // 11.2345 -> 11.23
    x *= 1.5;       // 16.845 -> 16.84
    EXPECT_EQ(x.GetCY().int64, 168400);
    CZTCurrencyEx8 y = Ex8(1.0, 3, CZTCurrencyEx8::RoundHalfEven);
    y /= 3.0;
    y += CY{5}; // 0.3335 -> 0.334 (half to even: 3 is odd)
    EXPECT_EQ(y.GetRaw(), 33400000);
    EXPECT_EQ((2.0 / CZTCurrencyEx8(3.0)).GetRaw(), 66666667);
    EXPECT_EQ((CY{15} * CY{5000}).int64, 8);         // 0.00075 -> 0.0008
    EXPECT_EQ((CY{10000} + 0.00005).int64, 10001);   // 0.00005 is 0.0000500000000000000024: 0.0001
    EXPECT_EQ((CZTCurrencyEx8(1.5) / CZTCurrencyEx8(std::int64_t{0})).GetRaw(), 0);
    EXPECT_EQ((CY{1} / CY{0}).int64, 0);
    EXPECT_EQ((CY{INT64_MAX} + CY{1}).int64, 0);
}

TEST(CalculoMoeda, Format)
{
    EXPECT_EQ(CZTCurrencyEx(true, false, 1234.56).Format(), "1.234,56");
    EXPECT_EQ(CZTCurrencyEx(true, false, -0.5).Format(), "-0,50");
    EXPECT_EQ(CZTCurrencyEx(true, false, 0.0).Format(), "0,00");
    EXPECT_EQ(CZTCurrencyEx(1234567.8912).Format(), "1.234.567,8912");
    CZTCurrencyEx sem(999.0);
    sem.SetDecimals(0);
    EXPECT_EQ(sem.Format(), "999");
    CZTCurrencyEx8 e(-12345.123456789);
    EXPECT_EQ(e.Format(), "-12.345,12345679");
    e.SetDecimals(3);
    EXPECT_EQ(e.Format(), "-12.345,123");
}

// Platform facts: CY and DECIMAL.
TEST(CalculoMoeda, FatosDoubleParaCYEDecimal)
{
    // The platform's 1.00005 -> 1.0000 is the float 1.00005f (1.0000499486...);
    // the double 1.00005 is 1.0000500000000001055... and rounds up. 1e20 is out of range.
    const std::pair<double, std::int64_t> casos[] = {
        {0.03125, 312}, {0.09375, 938}, {1.00005f, 10000}, {-1.00005f, -10000}, {0.00005f, 0}, {0.00009f, 1},
        {1.00005, 10001}, {-1.5, -15000}, {-0.03125, -312}, {1e20, 0}};
    for (auto [d, n] : casos)
        EXPECT_EQ(CYDeDouble(d).int64, n) << d;
    EXPECT_DOUBLE_EQ(CYParaDouble(CY{12345}), 1.2345);

    CQMXDecimal d;
    for (auto [x, nMantissa, nEscala] : {std::tuple{0.1, 1ull, 1}, {1 / 3.0, 333333333333333ull, 15}, {1e-30, 0ull, 0}})
    {
        ASSERT_TRUE(CQMXDecimal::DeDouble(x, d)) << x;
        EXPECT_TRUE(d.GetMantissa() == nMantissa) << x;
        EXPECT_TRUE(nMantissa == 0 || d.GetEscala() == nEscala) << x;
    }
    EXPECT_FALSE(CQMXDecimal::DeDouble(1e30, d));

    // Quotients with 28 decimals; 10/3 has 29 significant digits.
    const auto Quociente = [](std::int64_t a, std::int64_t b)
    {
        CQMXDecimal q;
        EXPECT_TRUE(CQMXDecimal::Dividir(CQMXDecimal::DeInteiro(a, 0), CQMXDecimal::DeInteiro(b, 0), q));
        EXPECT_EQ(q.GetEscala(), 28);
        return q;
    };
    EXPECT_TRUE(Quociente(1, 3).GetMantissa() == CQMXDecimal::Potencia10(28) / 3);
    EXPECT_TRUE(Quociente(2, 3).GetMantissa() == CQMXDecimal::Potencia10(28) * 2 / 3 + 1);
    CQMXDecimal q = Quociente(10, 3);
    EXPECT_TRUE(q.GetMantissa() == CQMXDecimal::Potencia10(29) / 3);
    EXPECT_FALSE(CQMXDecimal::Dividir(q, CQMXDecimal::DeInteiro(0, 0), q));

    // Products and rescaling are checked against the oracle (TesteDiferencial).
    EXPECT_EQ(Div(1, 0, 3, 0, 4), 3333);
    // Quotients and products that end on an exact tie beyond scale 28: half to even.
    for (auto [a, n] : {std::pair{5, 0}, {15, 2}, {25, 2}, {35, 4}, {-35, -4}})
        EXPECT_EQ(Div(a, 28, 10, 0, 28), n) << a;
    for (auto [a, n] : {std::pair{25, 2}, {35, 4}})
    {
        std::int64_t m = 0;
        ASSERT_TRUE(QMXDecimalOp::Multiplicar(a, 28, 1, 1, 28, m));
        EXPECT_EQ(m, n) << a;
    }
}

