#pragma once

#include <cstdint>

#include "calculo/Inteiro128.h"

// Exact decimal arithmetic with the semantics of the OLE Automation DECIMAL
// type: an unsigned magnitude of at most 96 bits, a scale of 0 to 28 decimals
// and a sign. It is the engine behind the products and quotients of CY,
// CZTCurrencyEx and CZTCurrencyEx8; no binary floating point is
// used in a calculation, a double only enters through DeDouble.
//
// Every operation that can fail (overflow, division by zero) returns false and
// leaves the result unspecified; the callers decide what a failure gives.
class CQMXDecimal
{
public:
    using Mantissa = qmx::Natural128;

    static constexpr int ESCALA_MAXIMA = 28;
    // 2^96: the first magnitude that does not fit.
    static constexpr Mantissa LIMITE_96 = static_cast<Mantissa>(1) << 96;

    CQMXDecimal() = default;
    CQMXDecimal(Mantissa nMantissa, int nEscala, bool bNegativo);

    // value / 10^nEscala, exactly (nEscala 0 to 28).
    static CQMXDecimal DeInteiro(std::int64_t nValor, int nEscala);

    // A double with its 15 significant digits, rounded half to even on the
    // exact binary value, trailing zeros removed; scale at most 28. Values
    // below 2^-94 give 0; 2^97 or more, infinities and NaN fail.
    static bool DeDouble(double dValor, CQMXDecimal& resultado);

    // The exact value of a double rounded half to even to nEscala decimals
    // (0 to 8), as a signed 64-bit integer (the double-to-CY conversion with
    // nEscala 4). Fails outside the 64-bit range, on infinities and NaN.
    static bool DoubleParaEscala(double dValor, int nEscala, std::int64_t& nResultado);

    // DECIMAL product: exact, scale = sum of scales; when it needs more than
    // 96 bits or a scale above 28 it drops the fewest decimal digits that
    // make it fit, rounding half to even on everything dropped.
    static bool Multiplicar(const CQMXDecimal& a, const CQMXDecimal& b, CQMXDecimal& resultado);

    // DECIMAL quotient: the largest scale (at most 28) whose quotient fits in
    // 96 bits, the last digit rounded half to even on the remainder.
    static bool Dividir(const CQMXDecimal& a, const CQMXDecimal& b, CQMXDecimal& resultado);

    // The value rounded half to even to nEscala decimals (0 to 28), as a
    // signed 64-bit integer holding value times 10^nEscala.
    bool ParaEscala(int nEscala, std::int64_t& nResultado) const;

    Mantissa GetMantissa() const { return m_nMantissa; }
    int GetEscala() const { return m_nEscala; }
    bool IsNegativo() const { return m_bNegativo && m_nMantissa != 0; }

    // 10^n for n from 0 to 38.
    static Mantissa Potencia10(int n);

private:
    Mantissa m_nMantissa = 0;
    int m_nEscala = 0;
    bool m_bNegativo = false;
};

// Shortcuts used by the currency types: operands given as scaled 64-bit
// integers (or doubles), result rounded half to even to nEscalaResultado.
// All return false on overflow or division by zero.
namespace QMXDecimalOp
{
bool Multiplicar(std::int64_t a, int nEscalaA, std::int64_t b, int nEscalaB,
                 int nEscalaResultado, std::int64_t& nResultado);
bool Dividir(std::int64_t a, int nEscalaA, std::int64_t b, int nEscalaB,
             int nEscalaResultado, std::int64_t& nResultado);
bool MultiplicarDouble(std::int64_t a, int nEscalaA, double b,
                       int nEscalaResultado, std::int64_t& nResultado);
bool DividirPorDouble(std::int64_t a, int nEscalaA, double b,
                      int nEscalaResultado, std::int64_t& nResultado);
bool DividirDouble(double a, std::int64_t b, int nEscalaB,
                   int nEscalaResultado, std::int64_t& nResultado);
}
