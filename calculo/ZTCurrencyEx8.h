#pragma once

#include <cstdint>
#include <string>

#include "calculo/CY.h"
#include "calculo/ZTCurrencyEx.h"
#include "frame/QMXExport.h"

// Eight-decimal money: a signed 64-bit integer holding the value
// times 100 000 000, with its own decimals (0 to 8) and rounding mode. The
// stored value is re-rounded after every change of value, decimals or mode.
// Assignment from another CZTCurrencyEx8 takes the value only: that is where
// a calculation chooses its rounding.
class QMX_API CZTCurrencyEx8
{
public:
    static constexpr int RoundHalfAwayFromZero = 0;
    static constexpr int Truncate = 1;
    static constexpr int RoundHalfEven = 2;

    // Default: value 0, 8 decimals, RoundHalfAwayFromZero.
    CZTCurrencyEx8();
    explicit CZTCurrencyEx8(double dValue);
    explicit CZTCurrencyEx8(std::int64_t nRaw);
    CZTCurrencyEx8(const CZTCurrencyEx8& outro); // value, decimals and rounding
    virtual ~CZTCurrencyEx8();

    CZTCurrencyEx8& operator=(const CZTCurrencyEx8& outro); // value only
    CZTCurrencyEx8& operator=(double dValue);
    CZTCurrencyEx8& operator=(const CZTCurrencyEx& valor); // its CY times 10 000

    // Decimals outside 0 to 8 are taken as the nearest of them.
    void SetDecimals(int nDecimals);
    void SetRound(bool bRound);
    void SetFormat(int nDecimals, bool bRound);
    void SetFormat(int nDecimals, int nRounding);
    int GetDecimals() const { return m_nDecimals; }
    int GetRounding() const { return m_nRounding; }

    void SetRaw(std::int64_t nRaw);
    std::int64_t GetRaw() const { return m_nValue; }
    double GetDouble() const;
    // A default CZTCurrencyEx holding the value rounded half to even to four decimals.
    CZTCurrencyEx ToCurrencyEx() const;
    // A default CZTCurrencyEx8 holding value times nRate / 10 000.
    CZTCurrencyEx8 ApplyRate(std::uint16_t nRate) const;

    CZTCurrencyEx8& operator+=(CY cy);
    CZTCurrencyEx8& operator-=(CY cy);
    CZTCurrencyEx8& operator+=(const CZTCurrencyEx8& outro);
    CZTCurrencyEx8& operator-=(const CZTCurrencyEx8& outro);
    CZTCurrencyEx8& operator*=(CY cy);
    CZTCurrencyEx8& operator*=(double d);
    CZTCurrencyEx8& operator*=(const CZTCurrencyEx8& outro);
    CZTCurrencyEx8& operator/=(CY cy);
    CZTCurrencyEx8& operator/=(double d);
    CZTCurrencyEx8& operator/=(const CZTCurrencyEx8& outro);

    std::string Format() const;

private:
    void Normalizar();

    std::int64_t m_nValue;
    int m_nDecimals;
    int m_nRounding;
};

// Binary operators: exact sums and differences (a CY scaled by 10 000),
// DECIMAL products and quotients rounded half to even to eight decimals. The
// result is a default-settings CZTCurrencyEx8; the rounding to fewer decimals
// happens when it is assigned. Overflow and division by zero give 0.
CZTCurrencyEx8 operator+(const CZTCurrencyEx8& a, const CZTCurrencyEx8& b);
CZTCurrencyEx8 operator+(const CZTCurrencyEx8& a, CY b);
CZTCurrencyEx8 operator+(CY a, const CZTCurrencyEx8& b);
CZTCurrencyEx8 operator-(const CZTCurrencyEx8& a, const CZTCurrencyEx8& b);
CZTCurrencyEx8 operator-(const CZTCurrencyEx8& a, CY b);
CZTCurrencyEx8 operator-(CY a, const CZTCurrencyEx8& b);
CZTCurrencyEx8 operator*(const CZTCurrencyEx8& a, const CZTCurrencyEx8& b);
CZTCurrencyEx8 operator*(const CZTCurrencyEx8& a, CY b);
CZTCurrencyEx8 operator*(CY a, const CZTCurrencyEx8& b);
CZTCurrencyEx8 operator*(const CZTCurrencyEx8& a, double b);
CZTCurrencyEx8 operator*(double a, const CZTCurrencyEx8& b);
CZTCurrencyEx8 operator/(const CZTCurrencyEx8& a, const CZTCurrencyEx8& b);
CZTCurrencyEx8 operator/(const CZTCurrencyEx8& a, CY b);
CZTCurrencyEx8 operator/(CY a, const CZTCurrencyEx8& b);
CZTCurrencyEx8 operator/(const CZTCurrencyEx8& a, double b);
CZTCurrencyEx8 operator/(double a, const CZTCurrencyEx8& b);
