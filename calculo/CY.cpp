#include "calculo/CY.h"

#include <cmath>

#include "calculo/Decimal.h"

namespace
{
constexpr int ESCALA_CY = 4;

CY Resultado(bool bOk, const std::int64_t& n) // n read after bOk is evaluated
{
    return CY{bOk ? n : 0};
}

// -1, 0 or 1 as a compares with the double converted to a CY; 2 when b is NaN.
int Comparar(CY a, double b)
{
    if (std::isnan(b))
        return 2;
    std::int64_t n;
    if (!CQMXDecimal::DoubleParaEscala(b, ESCALA_CY, n))
        return b > 0 ? -1 : 1; // beyond the CY range on b's side
    return a.int64 < n ? -1 : (a.int64 > n ? 1 : 0);
}
} // namespace

CY CYDeDouble(double d)
{
    std::int64_t n = 0;
    return Resultado(CQMXDecimal::DoubleParaEscala(d, ESCALA_CY, n), n);
}

double CYParaDouble(CY cy)
{
    return static_cast<double>(cy.int64) / 10000.0;
}

CY operator+(CY a, CY b)
{
    std::int64_t n = 0;
    return Resultado(!__builtin_add_overflow(a.int64, b.int64, &n), n);
}

CY operator-(CY a, CY b)
{
    std::int64_t n = 0;
    return Resultado(!__builtin_sub_overflow(a.int64, b.int64, &n), n);
}

CY operator-(CY a)
{
    return CY{0} - a;
}

CY operator*(CY a, CY b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::Multiplicar(a.int64, ESCALA_CY, b.int64, ESCALA_CY, ESCALA_CY, n), n);
}

CY operator/(CY a, CY b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::Dividir(a.int64, ESCALA_CY, b.int64, ESCALA_CY, ESCALA_CY, n), n);
}

CY operator+(CY a, double b) { return a + CYDeDouble(b); }
CY operator-(CY a, double b) { return a - CYDeDouble(b); }
CY operator+(double a, CY b) { return CYDeDouble(a) + b; }
CY operator-(double a, CY b) { return CYDeDouble(a) - b; }

CY operator*(CY a, double b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::MultiplicarDouble(a.int64, ESCALA_CY, b, ESCALA_CY, n), n);
}

CY operator*(double a, CY b)
{
    return b * a;
}

CY operator/(CY a, double b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::DividirPorDouble(a.int64, ESCALA_CY, b, ESCALA_CY, n), n);
}

CY operator/(double a, CY b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::DividirDouble(a, b.int64, ESCALA_CY, ESCALA_CY, n), n);
}

CY& operator+=(CY& a, CY b) { return a = a + b; }
CY& operator-=(CY& a, CY b) { return a = a - b; }
CY& operator*=(CY& a, CY b) { return a = a * b; }
CY& operator/=(CY& a, CY b) { return a = a / b; }
CY& operator+=(CY& a, double b) { return a = a + b; }
CY& operator-=(CY& a, double b) { return a = a - b; }
CY& operator*=(CY& a, double b) { return a = a * b; }
CY& operator/=(CY& a, double b) { return a = a / b; }

bool operator==(CY a, double b) { return Comparar(a, b) == 0; }
bool operator!=(CY a, double b) { return Comparar(a, b) != 0; }
bool operator<(CY a, double b) { return Comparar(a, b) == -1; }
bool operator>(CY a, double b) { return Comparar(a, b) == 1; }
bool operator<=(CY a, double b) { int c = Comparar(a, b); return c == -1 || c == 0; }
bool operator>=(CY a, double b) { int c = Comparar(a, b); return c == 1 || c == 0; }
bool operator==(double a, CY b) { return b == a; }
bool operator!=(double a, CY b) { return b != a; }
bool operator<(double a, CY b) { return b > a; }
bool operator>(double a, CY b) { return b < a; }
bool operator<=(double a, CY b) { return b >= a; }
bool operator>=(double a, CY b) { return b <= a; }
