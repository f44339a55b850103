#pragma once

#include <cstdint>

#include "calculo/Inteiro128.h"

// The rounding step shared by CZTCurrencyEx and CZTCurrencyEx8:
// a scaled integer v is rounded to a multiple of the divisor D (a power of
// ten) by one of the three rounding modes; any other mode leaves v unchanged.
namespace QMXArredondamento
{
constexpr int MEIO_LONGE_DO_ZERO = 0; // RoundHalfAwayFromZero
constexpr int TRUNCAR = 1;            // Truncate
constexpr int MEIO_PAR = 2;           // RoundHalfEven

inline std::int64_t Arredondar(std::int64_t v, std::int64_t nDivisor, int nModo)
{
    if (nDivisor <= 1)
        return v;
    const bool bNegativo = v < 0;
    const qmx::Natural128 nMag = bNegativo ? static_cast<qmx::Natural128>(-static_cast<qmx::Inteiro128>(v))
                                             : static_cast<qmx::Natural128>(v);
    const qmx::Natural128 d = static_cast<qmx::Natural128>(nDivisor);
    qmx::Natural128 q = nMag / d;
    const qmx::Natural128 r = nMag % d;
    const qmx::Natural128 nMeio = d / 2; // the half-step H of the tables
    switch (nModo)
    {
    case MEIO_LONGE_DO_ZERO:
        if (r >= nMeio)
            ++q;
        break;
    case TRUNCAR:
        break;
    case MEIO_PAR:
        if (r > nMeio || (r == nMeio && (q & 1)))
            ++q;
        break;
    default:
        return v;
    }
    const qmx::Inteiro128 nResultado = static_cast<qmx::Inteiro128>(q * d);
    // Beyond the 64-bit range the result has no defined value; it wraps.
    return static_cast<std::int64_t>(bNegativo ? -nResultado : nResultado);
}
} // namespace QMXArredondamento
