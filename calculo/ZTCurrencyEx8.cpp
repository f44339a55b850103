#include "calculo/ZTCurrencyEx8.h"

#include "calculo/Arredondamento.h"
#include "calculo/Decimal.h"
#include "calculo/FormatoMoeda.h"

namespace
{
constexpr int ESCALA_8 = 8;
constexpr int ESCALA_CY = 4;

constexpr std::int64_t DIVISOR[9] = {100000000, 10000000, 1000000, 100000, 10000, 1000, 100, 10, 1};

CZTCurrencyEx8 Resultado(bool bOk, const std::int64_t& n) // n read after bOk is evaluated
{
    CZTCurrencyEx8 r;
    r.SetRaw(bOk ? n : 0);
    return r;
}

// A CY at eight decimals; false outside the range.
bool CYPara8(CY cy, std::int64_t& n)
{
    return !__builtin_mul_overflow(cy.int64, std::int64_t{10000}, &n);
}

std::int64_t DoublePara8(double d)
{
    CQMXDecimal dec;
    std::int64_t n = 0;
    if (!CQMXDecimal::DeDouble(d, dec) || !dec.ParaEscala(ESCALA_8, n))
        return 0;
    return n;
}
} // namespace

CZTCurrencyEx8::CZTCurrencyEx8() : m_nValue(0), m_nDecimals(8), m_nRounding(RoundHalfAwayFromZero) {}

CZTCurrencyEx8::CZTCurrencyEx8(double dValue) : CZTCurrencyEx8()
{
    m_nValue = DoublePara8(dValue);
}

CZTCurrencyEx8::CZTCurrencyEx8(std::int64_t nRaw) : CZTCurrencyEx8()
{
    m_nValue = nRaw;
}

CZTCurrencyEx8::CZTCurrencyEx8(const CZTCurrencyEx8& outro)
    : m_nValue(outro.m_nValue), m_nDecimals(outro.m_nDecimals), m_nRounding(outro.m_nRounding)
{
    Normalizar();
}

CZTCurrencyEx8::~CZTCurrencyEx8() = default;

CZTCurrencyEx8& CZTCurrencyEx8::operator=(const CZTCurrencyEx8& outro)
{
    SetRaw(outro.m_nValue);
    return *this;
}

CZTCurrencyEx8& CZTCurrencyEx8::operator=(double dValue)
{
    SetRaw(DoublePara8(dValue));
    return *this;
}

CZTCurrencyEx8& CZTCurrencyEx8::operator=(const CZTCurrencyEx& valor)
{
    std::int64_t n;
    SetRaw(CYPara8(valor.GetCY(), n) ? n : 0);
    return *this;
}

void CZTCurrencyEx8::Normalizar()
{
    m_nValue = QMXArredondamento::Arredondar(m_nValue, DIVISOR[m_nDecimals], m_nRounding);
}

void CZTCurrencyEx8::SetDecimals(int nDecimals)
{
    m_nDecimals = nDecimals < 0 ? 0 : (nDecimals > 8 ? 8 : nDecimals);
    Normalizar();
}

void CZTCurrencyEx8::SetRound(bool bRound)
{
    m_nRounding = bRound ? RoundHalfAwayFromZero : Truncate;
    Normalizar();
}

void CZTCurrencyEx8::SetFormat(int nDecimals, bool bRound)
{
    SetFormat(nDecimals, bRound ? RoundHalfAwayFromZero : Truncate);
}

void CZTCurrencyEx8::SetFormat(int nDecimals, int nRounding)
{
    m_nRounding = nRounding;
    SetDecimals(nDecimals);
}

void CZTCurrencyEx8::SetRaw(std::int64_t nRaw)
{
    m_nValue = nRaw;
    Normalizar();
}

double CZTCurrencyEx8::GetDouble() const
{
    return static_cast<double>(m_nValue) / 100000000.0;
}

CZTCurrencyEx CZTCurrencyEx8::ToCurrencyEx() const
{
    std::int64_t n = QMXArredondamento::Arredondar(m_nValue, 10000, QMXArredondamento::MEIO_PAR) / 10000;
    return CZTCurrencyEx(CY{n});
}

CZTCurrencyEx8 CZTCurrencyEx8::ApplyRate(std::uint16_t nRate) const
{
    std::int64_t n = 0;
    bool bOk = QMXDecimalOp::Multiplicar(m_nValue, ESCALA_8, nRate, ESCALA_CY, ESCALA_8, n);
    return Resultado(bOk, n);
}

CZTCurrencyEx8& CZTCurrencyEx8::operator+=(CY cy) { return *this = *this + cy; }
CZTCurrencyEx8& CZTCurrencyEx8::operator-=(CY cy) { return *this = *this - cy; }
CZTCurrencyEx8& CZTCurrencyEx8::operator+=(const CZTCurrencyEx8& outro) { return *this = *this + outro; }
CZTCurrencyEx8& CZTCurrencyEx8::operator-=(const CZTCurrencyEx8& outro) { return *this = *this - outro; }
CZTCurrencyEx8& CZTCurrencyEx8::operator*=(CY cy) { return *this = *this * cy; }
CZTCurrencyEx8& CZTCurrencyEx8::operator*=(double d) { return *this = *this * d; }
CZTCurrencyEx8& CZTCurrencyEx8::operator*=(const CZTCurrencyEx8& outro) { return *this = *this * outro; }
CZTCurrencyEx8& CZTCurrencyEx8::operator/=(CY cy) { return *this = *this / cy; }
CZTCurrencyEx8& CZTCurrencyEx8::operator/=(double d) { return *this = *this / d; }
CZTCurrencyEx8& CZTCurrencyEx8::operator/=(const CZTCurrencyEx8& outro) { return *this = *this / outro; }

std::string CZTCurrencyEx8::Format() const
{
    return QMXFormatarValorFixo(m_nValue, ESCALA_8, m_nDecimals);
}

CZTCurrencyEx8 operator+(const CZTCurrencyEx8& a, const CZTCurrencyEx8& b)
{
    std::int64_t n = 0;
    return Resultado(!__builtin_add_overflow(a.GetRaw(), b.GetRaw(), &n), n);
}

CZTCurrencyEx8 operator+(const CZTCurrencyEx8& a, CY b)
{
    std::int64_t nB = 0, n = 0;
    return Resultado(CYPara8(b, nB) && !__builtin_add_overflow(a.GetRaw(), nB, &n), n);
}

CZTCurrencyEx8 operator+(CY a, const CZTCurrencyEx8& b)
{
    return b + a;
}

CZTCurrencyEx8 operator-(const CZTCurrencyEx8& a, const CZTCurrencyEx8& b)
{
    std::int64_t n = 0;
    return Resultado(!__builtin_sub_overflow(a.GetRaw(), b.GetRaw(), &n), n);
}

CZTCurrencyEx8 operator-(const CZTCurrencyEx8& a, CY b)
{
    std::int64_t nB = 0, n = 0;
    return Resultado(CYPara8(b, nB) && !__builtin_sub_overflow(a.GetRaw(), nB, &n), n);
}

CZTCurrencyEx8 operator-(CY a, const CZTCurrencyEx8& b)
{
    std::int64_t nA = 0, n = 0;
    return Resultado(CYPara8(a, nA) && !__builtin_sub_overflow(nA, b.GetRaw(), &n), n);
}

CZTCurrencyEx8 operator*(const CZTCurrencyEx8& a, const CZTCurrencyEx8& b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::Multiplicar(a.GetRaw(), ESCALA_8, b.GetRaw(), ESCALA_8, ESCALA_8, n), n);
}

CZTCurrencyEx8 operator*(const CZTCurrencyEx8& a, CY b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::Multiplicar(a.GetRaw(), ESCALA_8, b.int64, ESCALA_CY, ESCALA_8, n), n);
}

CZTCurrencyEx8 operator*(CY a, const CZTCurrencyEx8& b)
{
    return b * a;
}

CZTCurrencyEx8 operator*(const CZTCurrencyEx8& a, double b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::MultiplicarDouble(a.GetRaw(), ESCALA_8, b, ESCALA_8, n), n);
}

CZTCurrencyEx8 operator*(double a, const CZTCurrencyEx8& b)
{
    return b * a;
}

CZTCurrencyEx8 operator/(const CZTCurrencyEx8& a, const CZTCurrencyEx8& b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::Dividir(a.GetRaw(), ESCALA_8, b.GetRaw(), ESCALA_8, ESCALA_8, n), n);
}

CZTCurrencyEx8 operator/(const CZTCurrencyEx8& a, CY b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::Dividir(a.GetRaw(), ESCALA_8, b.int64, ESCALA_CY, ESCALA_8, n), n);
}

CZTCurrencyEx8 operator/(CY a, const CZTCurrencyEx8& b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::Dividir(a.int64, ESCALA_CY, b.GetRaw(), ESCALA_8, ESCALA_8, n), n);
}

CZTCurrencyEx8 operator/(const CZTCurrencyEx8& a, double b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::DividirPorDouble(a.GetRaw(), ESCALA_8, b, ESCALA_8, n), n);
}

CZTCurrencyEx8 operator/(double a, const CZTCurrencyEx8& b)
{
    std::int64_t n = 0;
    return Resultado(QMXDecimalOp::DividirDouble(a, b.GetRaw(), ESCALA_8, ESCALA_8, n), n);
}
