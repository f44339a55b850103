#pragma once

#include <cstdint>
#include <string>

#include "calculo/CY.h"
#include "frame/QMXExport.h"

// Four-decimal money: a CY with its own number of decimals (0, 2
// or 4) and rounding mode. The stored value is re-rounded to the object's
// decimals by the object's mode after every change of value, decimals or mode.
class QMX_API CZTCurrencyEx
{
public:
    static constexpr int RoundHalfAwayFromZero = 0;
    static constexpr int Truncate = 1;
    static constexpr int RoundHalfEven = 2;

    // Default: value 0, 4 decimals, Truncate.
    CZTCurrencyEx();
    explicit CZTCurrencyEx(double dValue);
    explicit CZTCurrencyEx(CY cyValue);
    CZTCurrencyEx(const CZTCurrencyEx& outro);
    // 2 or 4 decimals; RoundHalfAwayFromZero (bRound) or Truncate.
    CZTCurrencyEx(bool bTwoDecimals, bool bRound, CY cyValue);
    CZTCurrencyEx(bool bTwoDecimals, bool bRound, double dValue);
    // 2 or 4 decimals with the given rounding mode.
    CZTCurrencyEx(bool bTwoDecimals, int nRounding, CY cyValue);
    CZTCurrencyEx(bool bTwoDecimals, int nRounding, double dValue);
    CZTCurrencyEx& operator=(const CZTCurrencyEx& outro) = default;
    virtual ~CZTCurrencyEx();

    // 0 gives 0 decimals, 1 or 2 give 2, anything else gives 4.
    void SetDecimals(std::int16_t nDecimals);
    void SetRounding(int nRounding);
    void SetRound(bool bRound);
    void SetFormat(bool bTwoDecimals, bool bRound);
    std::int16_t GetDecimals() const { return m_nDecimals; }
    int GetRounding() const { return m_nRounding; }
    bool IsNoDecimals() const { return m_nDecimals == 0; }
    bool IsTwoDecimals() const { return m_nDecimals == 2; }
    bool IsFourDecimals() const { return m_nDecimals == 4; }
    bool IsRound() const { return m_nRounding == RoundHalfAwayFromZero; }

    // Value only; the settings are kept and the value re-rounded.
    void SetValue(double dValue);
    void SetValue(CY cyValue);
    void SetValue(const CZTCurrencyEx& outro);
    CY GetCY() const;
    double GetDouble() const;
    std::int64_t GetRaw() const { return m_cyValue.int64; }
    // Value times 100, cut toward zero (12.349 gives 1234).
    std::int16_t GetHundredths() const;
    // Value times nRate / 10 000 (nRate in hundredths of a percent), rounded
    // half to even to four decimals; the object is not changed.
    CY ApplyRate(std::uint16_t nRate) const;

    CZTCurrencyEx& operator+=(CY cy);
    CZTCurrencyEx& operator-=(CY cy);
    CZTCurrencyEx& operator*=(CY cy);
    CZTCurrencyEx& operator/=(CY cy);
    CZTCurrencyEx& operator+=(double d);
    CZTCurrencyEx& operator-=(double d);
    CZTCurrencyEx& operator*=(double d);
    CZTCurrencyEx& operator/=(double d);

    // "1.234,56", "-0,50": the object's decimals, pt-BR separators.
    std::string Format() const;

private:
    void Normalizar();

    CY m_cyValue;
    std::int16_t m_nDecimals;
    int m_nRounding;
};
