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

TEST(CalculoMoeda, MeioParComDuasDecimais)
{
    EXPECT_EQ(Ex8(2.345, 2, CZTCurrencyEx8::RoundHalfEven).GetRaw(), 234000000);
    EXPECT_EQ(Ex8(2.355, 2, CZTCurrencyEx8::RoundHalfEven).GetRaw(), 236000000);
    EXPECT_EQ(Ex8(2.3451, 2, CZTCurrencyEx8::RoundHalfEven).GetRaw(), 235000000);
    EXPECT_EQ(Ex8(-2.345, 2, CZTCurrencyEx8::RoundHalfEven).GetRaw(), -234000000);
}

TEST(CalculoMoeda, MeioLongeDoZeroETruncar)
{
    EXPECT_EQ(Ex8(2.345, 2, CZTCurrencyEx8::RoundHalfAwayFromZero).GetRaw(), 235000000);
    EXPECT_EQ(Ex8(-2.345, 2, CZTCurrencyEx8::RoundHalfAwayFromZero).GetRaw(), -235000000);
    EXPECT_EQ(Ex8(2.349, 2, CZTCurrencyEx8::Truncate).GetRaw(), 234000000);
    EXPECT_EQ(Ex8(-2.349, 2, CZTCurrencyEx8::Truncate).GetRaw(), -234000000);
}

TEST(CalculoMoeda, OutroModoNaoMudaOValor)
{
    CZTCurrencyEx8 x;
    x.SetFormat(2, 7);
    x = 2.3456789;
    EXPECT_EQ(x.GetRaw(), 234567890);
    CZTCurrencyEx y(true, 9, 1.2345);
    EXPECT_EQ(y.GetCY().int64, 12345);
}

TEST(CalculoMoeda, SetDecimalsDoTipoDeQuatroDecimais)
{
    CZTCurrencyEx x;
    x.SetDecimals(3);
    EXPECT_EQ(x.GetDecimals(), 4);
    EXPECT_TRUE(x.IsFourDecimals());
    x.SetDecimals(1);
    EXPECT_EQ(x.GetDecimals(), 2);
    EXPECT_TRUE(x.IsTwoDecimals());
    x.SetDecimals(0);
    EXPECT_TRUE(x.IsNoDecimals());
    x.SetDecimals(-5);
    EXPECT_EQ(x.GetDecimals(), 4);
}

TEST(CalculoMoeda, PadraoQuatroDecimaisSemReArredondar)
{
    CZTCurrencyEx x(1.23456);
    EXPECT_EQ(x.GetCY().int64, 12346);
    EXPECT_EQ(x.GetDecimals(), 4);
    EXPECT_EQ(x.GetRounding(), CZTCurrencyEx::Truncate);
    CZTCurrencyEx8 y;
    EXPECT_EQ(y.GetDecimals(), 8);
    EXPECT_EQ(y.GetRounding(), CZTCurrencyEx8::RoundHalfAwayFromZero);
}

TEST(CalculoMoeda, ProdutoArredondadoSoNaAtribuicao)
{
    CZTCurrencyEx8 a(0.33333333), b(3.0);
    CZTCurrencyEx8 p = a * b;
    EXPECT_EQ(p.GetRaw(), 99999999);
    EXPECT_EQ(p.GetDecimals(), 8);
    CZTCurrencyEx8 t;
    t.SetFormat(2, false);
    t = a * b;
    EXPECT_EQ(t.GetRaw(), 99000000);
    CZTCurrencyEx8 r;
    r.SetFormat(2, true);
    r = a * b;
    EXPECT_EQ(r.GetRaw(), 100000000);
}

TEST(CalculoMoeda, GetHundredths)
{
    CZTCurrencyEx x(12.349);
    EXPECT_EQ(x.GetHundredths(), 1234);
    CZTCurrencyEx y(-12.349);
    EXPECT_EQ(y.GetHundredths(), -1234);
}

TEST(CalculoMoeda, ComparacaoComDouble)
{
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

TEST(CalculoMoeda, SetFormatESetRound)
{
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
    CZTCurrencyEx w(true, CZTCurrencyEx::RoundHalfEven, 2.565);
    EXPECT_EQ(w.GetCY().int64, 25600);
    CZTCurrencyEx v(true, CZTCurrencyEx::RoundHalfEven, 2.575);
    EXPECT_EQ(v.GetCY().int64, 25800);
    CZTCurrencyEx u(false, CZTCurrencyEx::RoundHalfEven, 2.5);
    EXPECT_EQ(u.GetCY().int64, 25000);
    u.SetDecimals(0);
    EXPECT_EQ(u.GetCY().int64, 20000);
}

TEST(CalculoMoeda, CopiaLevaConfiguracoesAtribuicaoSoOValor)
{
    CZTCurrencyEx8 a;
    a.SetFormat(2, CZTCurrencyEx8::Truncate);
    a = 1.239;
    CZTCurrencyEx8 b(a);
    EXPECT_EQ(b.GetDecimals(), 2);
    EXPECT_EQ(b.GetRounding(), CZTCurrencyEx8::Truncate);
    CZTCurrencyEx8 c;
    c.SetFormat(1, CZTCurrencyEx8::RoundHalfEven);
    c = a; // 1.23 at 1 decimal half to even
    EXPECT_EQ(c.GetDecimals(), 1);
    EXPECT_EQ(c.GetRaw(), 120000000);
    CZTCurrencyEx e(true, true, 7.125);
    CZTCurrencyEx8 d;
    d = e;
    EXPECT_EQ(d.GetRaw(), 713000000);
}

TEST(CalculoMoeda, ApplyRateEToCurrencyEx)
{
    CZTCurrencyEx x(100.0);
    EXPECT_EQ(x.ApplyRate(1800).int64, 180000);
    CZTCurrencyEx y(0.0125);
    EXPECT_EQ(y.ApplyRate(5000).int64, 62);   // 0.00625 -> 0.0062 half to even
    CZTCurrencyEx z(0.0135);
    EXPECT_EQ(z.ApplyRate(5000).int64, 68);   // 0.00675 -> 0.0068
    EXPECT_EQ(y.GetCY().int64, 125);          // not changed
    CZTCurrencyEx8 a(1.23456789);
    EXPECT_EQ(a.ApplyRate(1800).GetRaw(), 22222222); // 0.2222222202 -> 0.22222222
    EXPECT_EQ(a.ToCurrencyEx().GetCY().int64, 12346);
    CZTCurrencyEx8 b(1.00005);
    EXPECT_EQ(b.ToCurrencyEx().GetCY().int64, 10000);
    CZTCurrencyEx8 c(1.00015);
    EXPECT_EQ(c.ToCurrencyEx().GetCY().int64, 10002);
}

TEST(CalculoMoeda, OperadoresCompostos)
{
    CZTCurrencyEx x(true, false, 10.0);
    x += CY{12345}; // 11.2345 -> 11.23
    EXPECT_EQ(x.GetCY().int64, 112300);
    x *= 1.5; // 16.845 -> 16.84
    EXPECT_EQ(x.GetCY().int64, 168400);
    x /= CY{30000}; // 5.61333 -> 5.61
    EXPECT_EQ(x.GetCY().int64, 56100);
    x -= 0.005; // 5.605 -> 5.60
    EXPECT_EQ(x.GetCY().int64, 56000);

    CZTCurrencyEx8 y;
    y.SetFormat(3, CZTCurrencyEx8::RoundHalfEven);
    y = 1.0;
    y /= 3.0;
    EXPECT_EQ(y.GetRaw(), 33300000);
    y += CY{5}; // 0.3335 -> 0.334 (half to even: 3 is odd)
    EXPECT_EQ(y.GetRaw(), 33400000);
    y *= CZTCurrencyEx8(2.0);
    EXPECT_EQ(y.GetRaw(), 66800000);
    y -= CZTCurrencyEx8(std::int64_t{50000}); // 0.6675 -> 0.668 (7 odd, up)
    EXPECT_EQ(y.GetRaw(), 66800000);
    y /= CY{20000};
    EXPECT_EQ(y.GetRaw(), 33400000);
    y *= CY{30000};
    EXPECT_EQ(y.GetRaw(), 100200000);
}

TEST(CalculoMoeda, OperadoresLivresEx8)
{
    CZTCurrencyEx8 a(1.5);
    EXPECT_EQ((a + CY{5000}).GetRaw(), 200000000);
    EXPECT_EQ((CY{5000} + a).GetRaw(), 200000000);
    EXPECT_EQ((CY{5000} - a).GetRaw(), -100000000);
    EXPECT_EQ((a - CY{5000}).GetRaw(), 100000000);
    EXPECT_EQ((2.0 * a).GetRaw(), 300000000);
    EXPECT_EQ((a / 4.0).GetRaw(), 37500000);
    EXPECT_EQ((1.0 / CZTCurrencyEx8(3.0)).GetRaw(), 33333333);
    EXPECT_EQ((2.0 / CZTCurrencyEx8(3.0)).GetRaw(), 66666667);
    EXPECT_EQ((CY{10000} / CZTCurrencyEx8(8.0)).GetRaw(), 12500000);
    EXPECT_EQ((a / CZTCurrencyEx8(std::int64_t{0})).GetRaw(), 0); // division by zero gives 0
}

TEST(CalculoMoeda, OperadoresCY)
{
    EXPECT_EQ((CY{15000} + CY{1}).int64, 15001);
    EXPECT_EQ((-CY{15000}).int64, -15000);
    EXPECT_EQ((CY{15000} * CY{15000}).int64, 22500);      // 1.5 * 1.5
    EXPECT_EQ((CY{10000} / CY{30000}).int64, 3333);
    EXPECT_EQ((CY{20000} / CY{30000}).int64, 6667);
    EXPECT_EQ((CY{5} * CY{5000}).int64, 2);               // 0.00025 -> 0.0002
    EXPECT_EQ((CY{15} * CY{5000}).int64, 8);              // 0.00075 -> 0.0008
    EXPECT_EQ((CY{10000} * 0.1).int64, 1000);
    EXPECT_EQ((0.1 * CY{10000}).int64, 1000);
    EXPECT_EQ((CY{10000} / 3.0).int64, 3333);
    EXPECT_EQ((1.0 / CY{30000}).int64, 3333);
    EXPECT_EQ((CY{10000} + 0.00005).int64, 10001);        // 0.00005 is 0.0000500000000000000024: 0.0001
    EXPECT_EQ((CY{0} + 0.03125).int64, 312);
    EXPECT_EQ((1.0 - CY{1}).int64, 9999);
    CY c{10000};
    c *= 2.5;
    c /= CY{20000};
    c += 1.0;
    c -= CY{2500};
    EXPECT_EQ(c.int64, 20000);
    EXPECT_EQ((CY{INT64_MAX} + CY{1}).int64, 0);          // overflow gives 0
    EXPECT_EQ((CY{1} / CY{0}).int64, 0);
}

TEST(CalculoMoeda, Format)
{
    EXPECT_EQ(CZTCurrencyEx(true, false, 1234.56).Format(), "1.234,56");
    EXPECT_EQ(CZTCurrencyEx(true, false, -0.5).Format(), "-0,50");
    EXPECT_EQ(CZTCurrencyEx(1234567.8912).Format(), "1.234.567,8912");
    CZTCurrencyEx z(true, false, 0.0);
    EXPECT_EQ(z.Format(), "0,00");
    CZTCurrencyEx sem(999.0);
    sem.SetDecimals(0);
    EXPECT_EQ(sem.Format(), "999");
    CZTCurrencyEx8 e(-12345.123456789);
    EXPECT_EQ(e.Format(), "-12.345,12345679");
    e.SetDecimals(3);
    EXPECT_EQ(e.Format(), "-12.345,123");
}

// Platform facts: CY and DECIMAL.
TEST(CalculoMoeda, FatosDoubleParaCY)
{
    EXPECT_EQ(CYDeDouble(0.03125).int64, 312);
    EXPECT_EQ(CYDeDouble(0.09375).int64, 938);
    // The platform's 1.00005 -> 1.0000 is the float 1.00005f (1.0000499486...);
    // the double 1.00005 is 1.0000500000000001055... and rounds up.
    EXPECT_EQ(CYDeDouble(static_cast<double>(1.00005f)).int64, 10000);
    EXPECT_EQ(CYDeDouble(static_cast<double>(-1.00005f)).int64, -10000);
    EXPECT_EQ(CYDeDouble(static_cast<double>(0.00005f)).int64, 0);
    EXPECT_EQ(CYDeDouble(static_cast<double>(0.00009f)).int64, 1);
    EXPECT_EQ(CYDeDouble(1.00005).int64, 10001);
    EXPECT_EQ(CYDeDouble(-1.5).int64, -15000);
    EXPECT_EQ(CYDeDouble(-0.03125).int64, -312);
    EXPECT_EQ(CYDeDouble(1e20).int64, 0); // out of range
    EXPECT_DOUBLE_EQ(CYParaDouble(CY{12345}), 1.2345);
}

TEST(CalculoMoeda, FatosDecimal)
{
    CQMXDecimal d;
    ASSERT_TRUE(CQMXDecimal::DeDouble(0.1, d));
    EXPECT_TRUE(d.GetMantissa() == 1);
    EXPECT_EQ(d.GetEscala(), 1);
    ASSERT_TRUE(CQMXDecimal::DeDouble(1 / 3.0, d));
    EXPECT_TRUE(d.GetMantissa() == 333333333333333u);
    EXPECT_EQ(d.GetEscala(), 15);
    ASSERT_TRUE(CQMXDecimal::DeDouble(1e-30, d));
    EXPECT_TRUE(d.GetMantissa() == 0);
    EXPECT_FALSE(CQMXDecimal::DeDouble(1e30, d));

    // Quotients with 28 decimals; 10/3 has 29 significant digits.
    CQMXDecimal q;
    ASSERT_TRUE(CQMXDecimal::Dividir(CQMXDecimal::DeInteiro(1, 0), CQMXDecimal::DeInteiro(3, 0), q));
    EXPECT_EQ(q.GetEscala(), 28);
    EXPECT_TRUE(q.GetMantissa() == CQMXDecimal::Potencia10(28) / 3);
    ASSERT_TRUE(CQMXDecimal::Dividir(CQMXDecimal::DeInteiro(2, 0), CQMXDecimal::DeInteiro(3, 0), q));
    EXPECT_TRUE(q.GetMantissa() == CQMXDecimal::Potencia10(28) * 2 / 3 + 1);
    ASSERT_TRUE(CQMXDecimal::Dividir(CQMXDecimal::DeInteiro(10, 0), CQMXDecimal::DeInteiro(3, 0), q));
    EXPECT_EQ(q.GetEscala(), 28);
    EXPECT_TRUE(q.GetMantissa() == CQMXDecimal::Potencia10(29) / 3);
    EXPECT_FALSE(CQMXDecimal::Dividir(q, CQMXDecimal::DeInteiro(0, 0), q));

    // Product: exact, scales add.
    CQMXDecimal p;
    ASSERT_TRUE(CQMXDecimal::Multiplicar(CQMXDecimal::DeInteiro(15, 1), CQMXDecimal::DeInteiro(15, 1), p));
    EXPECT_TRUE(p.GetMantissa() == 225);
    EXPECT_EQ(p.GetEscala(), 2);

    // DECIMAL to CY: half to even with sticky digits.
    std::int64_t n;
    ASSERT_TRUE(CQMXDecimal::DeInteiro(5, 5).ParaEscala(4, n));
    EXPECT_EQ(n, 0);
    ASSERT_TRUE(CQMXDecimal::DeInteiro(15, 5).ParaEscala(4, n));
    EXPECT_EQ(n, 2);
    ASSERT_TRUE(CQMXDecimal::DeInteiro(25, 2).ParaEscala(1, n));
    EXPECT_EQ(n, 2);
    ASSERT_TRUE(CQMXDecimal::DeInteiro(35, 2).ParaEscala(1, n));
    EXPECT_EQ(n, 4);
    ASSERT_TRUE(CQMXDecimal::DeInteiro(550001, 6).ParaEscala(1, n));
    EXPECT_EQ(n, 6);
    EXPECT_EQ(Div(1, 0, 3, 0, 4), 3333);
    // A quotient that ends on an exact tie beyond scale 28: half to even.
    EXPECT_EQ(Div(5, 28, 10, 0, 28), 0);
    EXPECT_EQ(Div(15, 28, 10, 0, 28), 2);
    EXPECT_EQ(Div(25, 28, 10, 0, 28), 2);
    EXPECT_EQ(Div(35, 28, 10, 0, 28), 4);
    EXPECT_EQ(Div(-35, 28, 10, 0, 28), -4);
    // A product beyond scale 28 likewise.
    std::int64_t m = 0;
    ASSERT_TRUE(QMXDecimalOp::Multiplicar(25, 28, 1, 1, 28, m));
    EXPECT_EQ(m, 2);
    ASSERT_TRUE(QMXDecimalOp::Multiplicar(35, 28, 1, 1, 28, m));
    EXPECT_EQ(m, 4);
}
