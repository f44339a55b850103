#include "calculo/ZTCurrencyEx.h"

#include "calculo/Arredondamento.h"
#include "calculo/FormatoMoeda.h"

namespace
{
// Divisor of the rounding step, indexed by the decimals kept.
constexpr std::int64_t DIVISOR[5] = {10000, 1000, 100, 10, 1};
} // namespace

CZTCurrencyEx::CZTCurrencyEx() : m_cyValue{0}, m_nDecimals(4), m_nRounding(Truncate) {}

CZTCurrencyEx::CZTCurrencyEx(double dValue) : CZTCurrencyEx()
{
    SetValue(dValue);
}

CZTCurrencyEx::CZTCurrencyEx(CY cyValue) : CZTCurrencyEx()
{
    SetValue(cyValue);
}

CZTCurrencyEx::CZTCurrencyEx(const CZTCurrencyEx& outro)
    : m_cyValue(outro.m_cyValue), m_nDecimals(outro.m_nDecimals), m_nRounding(outro.m_nRounding)
{
    Normalizar();
}

CZTCurrencyEx::CZTCurrencyEx(bool bTwoDecimals, bool bRound, CY cyValue)
    : m_cyValue(cyValue), m_nDecimals(bTwoDecimals ? 2 : 4),
      m_nRounding(bRound ? RoundHalfAwayFromZero : Truncate)
{
    Normalizar();
}

CZTCurrencyEx::CZTCurrencyEx(bool bTwoDecimals, bool bRound, double dValue)
    : CZTCurrencyEx(bTwoDecimals, bRound, CYDeDouble(dValue))
{
}

CZTCurrencyEx::CZTCurrencyEx(bool bTwoDecimals, int nRounding, CY cyValue)
    : m_cyValue(cyValue), m_nDecimals(bTwoDecimals ? 2 : 4), m_nRounding(nRounding)
{
    Normalizar();
}

CZTCurrencyEx::CZTCurrencyEx(bool bTwoDecimals, int nRounding, double dValue)
    : CZTCurrencyEx(bTwoDecimals, nRounding, CYDeDouble(dValue))
{
}

CZTCurrencyEx::~CZTCurrencyEx() = default;

void CZTCurrencyEx::Normalizar()
{
    // With 4 decimals no mode changes a CY; Truncate and RoundHalfEven act
    // only for 2 and 0 decimals, RoundHalfAwayFromZero by the table.
    if (m_nDecimals < 0 || m_nDecimals > 4)
        return;
    if ((m_nRounding == Truncate || m_nRounding == RoundHalfEven) && m_nDecimals == 4)
        return;
    m_cyValue.int64 = QMXArredondamento::Arredondar(m_cyValue.int64, DIVISOR[m_nDecimals], m_nRounding);
}

void CZTCurrencyEx::SetDecimals(std::int16_t nDecimals)
{
    if (nDecimals == 0)
        m_nDecimals = 0;
    else if (nDecimals == 1 || nDecimals == 2)
        m_nDecimals = 2;
    else
    {
        m_nDecimals = 4; // never needs re-rounding
        return;
    }
    Normalizar();
}

void CZTCurrencyEx::SetRounding(int nRounding)
{
    m_nRounding = nRounding;
    Normalizar();
}

void CZTCurrencyEx::SetRound(bool bRound)
{
    SetRounding(bRound ? RoundHalfAwayFromZero : Truncate);
}

void CZTCurrencyEx::SetFormat(bool bTwoDecimals, bool bRound)
{
    m_nDecimals = bTwoDecimals ? 2 : 4;
    m_nRounding = bRound ? RoundHalfAwayFromZero : Truncate;
    Normalizar();
}

void CZTCurrencyEx::SetValue(double dValue)
{
    SetValue(CYDeDouble(dValue));
}

void CZTCurrencyEx::SetValue(CY cyValue)
{
    m_cyValue = cyValue;
    Normalizar();
}

void CZTCurrencyEx::SetValue(const CZTCurrencyEx& outro)
{
    SetValue(outro.m_cyValue);
}

CY CZTCurrencyEx::GetCY() const
{
    // The stored value is always normalised; re-rounding it changes nothing.
    return m_cyValue;
}

double CZTCurrencyEx::GetDouble() const
{
    return CYParaDouble(m_cyValue);
}

std::int16_t CZTCurrencyEx::GetHundredths() const
{
    return static_cast<std::int16_t>(m_cyValue.int64 / 100);
}

CY CZTCurrencyEx::ApplyRate(std::uint16_t nRate) const
{
    // The rate at scale 4 is exactly nRate / 10 000.
    return m_cyValue * CY{static_cast<std::int64_t>(nRate)};
}

CZTCurrencyEx& CZTCurrencyEx::operator+=(CY cy) { SetValue(m_cyValue + cy); return *this; }
CZTCurrencyEx& CZTCurrencyEx::operator-=(CY cy) { SetValue(m_cyValue - cy); return *this; }
CZTCurrencyEx& CZTCurrencyEx::operator*=(CY cy) { SetValue(m_cyValue * cy); return *this; }
CZTCurrencyEx& CZTCurrencyEx::operator/=(CY cy) { SetValue(m_cyValue / cy); return *this; }
CZTCurrencyEx& CZTCurrencyEx::operator+=(double d) { SetValue(m_cyValue + d); return *this; }
CZTCurrencyEx& CZTCurrencyEx::operator-=(double d) { SetValue(m_cyValue - d); return *this; }
CZTCurrencyEx& CZTCurrencyEx::operator*=(double d) { SetValue(m_cyValue * d); return *this; }
CZTCurrencyEx& CZTCurrencyEx::operator/=(double d) { SetValue(m_cyValue / d); return *this; }

std::string CZTCurrencyEx::Format() const
{
    return QMXFormatarValorFixo(m_cyValue.int64, 4, m_nDecimals);
}
