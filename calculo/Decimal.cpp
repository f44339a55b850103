#include "calculo/Decimal.h"

#include <cmath>
#include <cstring>

namespace
{
using Mantissa = CQMXDecimal::Mantissa;
using u64 = std::uint64_t;

constexpr Mantissa UM = 1;

// Magnitude of a signed 64-bit integer (also for INT64_MIN).
u64 Magnitude(std::int64_t n)
{
    return n < 0 ? static_cast<u64>(-(n + 1)) + 1u : static_cast<u64>(n);
}

// A magnitude and a sign back to a signed 64-bit integer; false outside the range.
bool ParaInt64(Mantissa nMag, bool bNegativo, std::int64_t& nResultado)
{
    constexpr Mantissa LIMITE = UM << 63;
    if (bNegativo)
    {
        if (nMag > LIMITE)
            return false;
        nResultado = nMag == LIMITE ? INT64_MIN : -static_cast<std::int64_t>(nMag);
        return true;
    }
    if (nMag >= LIMITE)
        return false;
    nResultado = static_cast<std::int64_t>(nMag);
    return true;
}

// Half to even of N / 2^k.
Mantissa DeslocarArredondando(Mantissa n, int k)
{
    if (k <= 0)
        return n;
    if (k >= 128)
        return 0; // every caller keeps n below 2^127, so the quotient is under one half
    Mantissa q = n >> k;
    Mantissa r = n & ((UM << k) - 1);
    Mantissa meio = UM << (k - 1);
    if (r > meio || (r == meio && (q & 1)))
        ++q;
    return q;
}

// Half to even of n / d (d > 0).
Mantissa DividirArredondando(Mantissa n, Mantissa d)
{
    Mantissa q = n / d;
    Mantissa r = n % d;
    Mantissa resto = d - r;
    if (r > resto || (r == resto && (q & 1)))
        ++q;
    return q;
}

Mantissa Potencia5(int n)
{
    Mantissa p = 1;
    for (int i = 0; i < n; ++i)
        p *= 5;
    return p;
}

// |x| = M * 2^E exactly, for a finite non-zero double.
void Decompor(double x, u64& nM, int& nE)
{
    u64 bits;
    std::memcpy(&bits, &x, sizeof bits);
    int nExpoente = static_cast<int>((bits >> 52) & 0x7FF);
    u64 nFracao = bits & ((u64{1} << 52) - 1);
    if (nExpoente == 0)
    {
        nM = nFracao;
        nE = -1074;
    }
    else
    {
        nM = nFracao | (u64{1} << 52);
        nE = nExpoente - 1075;
    }
}

// Half to even of M * 2^E * 10^p, for the bounded p of a 15-digit conversion.
Mantissa Escalar(u64 nM, int nE, int p)
{
    if (p >= 0)
    {
        Mantissa n = static_cast<Mantissa>(nM) * Potencia5(p); // < 2^53 * 5^28 < 2^119
        int nDesloca = nE + p;
        if (nDesloca >= 0)
            return nDesloca >= 64 ? ~Mantissa{0} : n << nDesloca;
        return DeslocarArredondando(n, -nDesloca);
    }
    int q = -p;
    int nDesloca = nE - q;
    if (nDesloca >= 0)
    {
        if (nDesloca > 70)
            return ~Mantissa{0};
        return DividirArredondando(static_cast<Mantissa>(nM) << nDesloca, Potencia5(q));
    }
    if (-nDesloca > 60)
        return 0;
    return DividirArredondando(nM, Potencia5(q) << -nDesloca);
}

// A 256-bit magnitude in four 64-bit limbs (little end first), for products
// of two 96-bit magnitudes.
struct Produto256
{
    u64 m_nParte[4] = {0, 0, 0, 0};

    void Somar(int i, Mantissa v)
    {
        while (v != 0 && i < 4)
        {
            Mantissa s = static_cast<Mantissa>(m_nParte[i]) + static_cast<u64>(v);
            m_nParte[i] = static_cast<u64>(s);
            v = (v >> 64) + (s >> 64);
            ++i;
        }
    }
    bool CabeEm96() const
    {
        return m_nParte[3] == 0 && m_nParte[2] == 0 && (m_nParte[1] >> 32) == 0;
    }
    unsigned DividirPor10()
    {
        Mantissa resto = 0;
        for (int i = 3; i >= 0; --i)
        {
            Mantissa atual = (resto << 64) | m_nParte[i];
            m_nParte[i] = static_cast<u64>(atual / 10);
            resto = atual % 10;
        }
        return static_cast<unsigned>(resto);
    }
    Mantissa Baixo() const
    {
        return (static_cast<Mantissa>(m_nParte[1]) << 64) | m_nParte[0];
    }
};

} // namespace

CQMXDecimal::CQMXDecimal(Mantissa nMantissa, int nEscala, bool bNegativo)
    : m_nMantissa(nMantissa), m_nEscala(nEscala), m_bNegativo(bNegativo)
{
}

CQMXDecimal::Mantissa CQMXDecimal::Potencia10(int n)
{
    static const Mantissa* const tabela = [] {
        static Mantissa t[39];
        t[0] = 1;
        for (int i = 1; i < 39; ++i)
            t[i] = t[i - 1] * 10;
        return t;
    }();
    return tabela[n];
}

CQMXDecimal CQMXDecimal::DeInteiro(std::int64_t nValor, int nEscala)
{
    return CQMXDecimal(Magnitude(nValor), nEscala, nValor < 0);
}

bool CQMXDecimal::DeDouble(double dValor, CQMXDecimal& resultado)
{
    if (!std::isfinite(dValor))
        return false;
    resultado = CQMXDecimal();
    if (dValor == 0.0)
        return true;
    bool bNegativo = std::signbit(dValor);
    u64 nM;
    int nE;
    Decompor(std::fabs(dValor), nM, nE);
    int nExpoente2 = 63 - __builtin_clzll(nM) + nE; // floor(log2 |x|)
    if (nExpoente2 < -94)
        return true; // too small: 0
    if (nExpoente2 > 96)
        return false;

    // p decimals give 15 significant digits: 10^14 <= |x| * 10^p < 10^15.
    int p = 14 - static_cast<int>(std::floor(nExpoente2 * 0.30102999566398120));
    if (p > ESCALA_MAXIMA)
        p = ESCALA_MAXIMA;
    const Mantissa nMinimo = Potencia10(14);
    const Mantissa nMaximo = Potencia10(15);
    Mantissa nDigitos = 0;
    for (int nTentativa = 0; nTentativa < 8; ++nTentativa)
    {
        nDigitos = Escalar(nM, nE, p);
        if (nDigitos >= nMaximo)
        {
            --p;
            continue;
        }
        if (nDigitos < nMinimo && p < ESCALA_MAXIMA)
        {
            ++p;
            continue;
        }
        break;
    }
    if (nDigitos == 0)
        return true;
    if (p < 0)
    {
        Mantissa nValor = nDigitos * Potencia10(-p);
        if (nValor >= LIMITE_96)
            return false;
        resultado = CQMXDecimal(nValor, 0, bNegativo);
        return true;
    }
    while (p > 0 && nDigitos % 10 == 0)
    {
        nDigitos /= 10;
        --p;
    }
    resultado = CQMXDecimal(nDigitos, p, bNegativo);
    return true;
}

bool CQMXDecimal::DoubleParaEscala(double dValor, int nEscala, std::int64_t& nResultado)
{
    if (!std::isfinite(dValor))
        return false;
    if (dValor == 0.0)
    {
        nResultado = 0;
        return true;
    }
    u64 nM;
    int nE;
    Decompor(std::fabs(dValor), nM, nE);
    Mantissa n = static_cast<Mantissa>(nM) * Potencia5(nEscala);
    int nDesloca = nE + nEscala;
    Mantissa nMag;
    if (nDesloca >= 0)
    {
        if (nDesloca > 63)
            return false;
        nMag = n << nDesloca;
    }
    else
        nMag = DeslocarArredondando(n, -nDesloca);
    return ParaInt64(nMag, std::signbit(dValor), nResultado);
}

bool CQMXDecimal::Multiplicar(const CQMXDecimal& a, const CQMXDecimal& b, CQMXDecimal& resultado)
{
    int nEscala = a.m_nEscala + b.m_nEscala;
    bool bNegativo = a.m_bNegativo != b.m_bNegativo;
    constexpr Mantissa LIMITE_64 = UM << 64;
    if (a.m_nMantissa < LIMITE_64 && b.m_nMantissa < LIMITE_64)
    {
        Mantissa p = a.m_nMantissa * b.m_nMantissa;
        if (p < LIMITE_96 && nEscala <= ESCALA_MAXIMA)
        {
            resultado = CQMXDecimal(p, nEscala, bNegativo);
            return true;
        }
    }

    // The full product, then the fewest digits dropped that make it fit.
    Produto256 p;
    const u64 a0 = static_cast<u64>(a.m_nMantissa), a1 = static_cast<u64>(a.m_nMantissa >> 64);
    const u64 b0 = static_cast<u64>(b.m_nMantissa), b1 = static_cast<u64>(b.m_nMantissa >> 64);
    p.Somar(0, static_cast<Mantissa>(a0) * b0);
    p.Somar(1, static_cast<Mantissa>(a0) * b1);
    p.Somar(1, static_cast<Mantissa>(a1) * b0);
    p.Somar(2, static_cast<Mantissa>(a1) * b1);

    int nRetirar = nEscala > ESCALA_MAXIMA ? nEscala - ESCALA_MAXIMA : 0;
    int nRetirados = 0;
    unsigned nUltimo = 0;
    bool bResto = false;
    while (nRetirados < nRetirar || !p.CabeEm96())
    {
        bResto = bResto || nUltimo != 0;
        nUltimo = p.DividirPor10();
        ++nRetirados;
    }
    Mantissa q = p.Baixo();
    if (nRetirados > 0 && (nUltimo > 5 || (nUltimo == 5 && (bResto || (q & 1)))))
    {
        ++q;
        if (q == LIMITE_96)
        {
            // 2^96 ends in 6: one more digit dropped, rounded up.
            q = q / 10 + 1;
            ++nRetirados;
        }
    }
    nEscala -= nRetirados;
    if (nEscala < 0)
        return false;
    resultado = CQMXDecimal(q, nEscala, bNegativo);
    return true;
}

bool CQMXDecimal::Dividir(const CQMXDecimal& a, const CQMXDecimal& b, CQMXDecimal& resultado)
{
    if (b.m_nMantissa == 0)
        return false;
    bool bNegativo = a.m_bNegativo != b.m_bNegativo;
    const Mantissa nDivisor = b.m_nMantissa;
    int nEscala = a.m_nEscala - b.m_nEscala;
    Mantissa q = a.m_nMantissa / nDivisor;
    Mantissa r = a.m_nMantissa % nDivisor;

    // Extend the quotient by up to nine digits at a time while it fits.
    while (r != 0 || nEscala < 0)
    {
        if (nEscala >= ESCALA_MAXIMA)
            break;
        int n = ESCALA_MAXIMA - nEscala;
        if (n > 9)
            n = 9;
        while (n > 0 && q * Potencia10(n) >= LIMITE_96)
            --n;
        if (n == 0)
        {
            if (nEscala < 0)
                return false;
            break;
        }
        Mantissa nPotencia = Potencia10(n);
        Mantissa rr = r * nPotencia;
        Mantissa q2 = q * nPotencia + rr / nDivisor;
        Mantissa r2 = rr % nDivisor;
        if (q2 >= LIMITE_96)
        {
            // The last of those digits does not fit: keep one fewer and round.
            nEscala += n - 1;
            if (nEscala < 0)
                return false;
            unsigned nDigito = static_cast<unsigned>(q2 % 10);
            q = q2 / 10;
            if (nDigito > 5 || (nDigito == 5 && (r2 != 0 || (q & 1))))
                ++q;
            resultado = CQMXDecimal(q, nEscala, bNegativo);
            return true;
        }
        q = q2;
        r = r2;
        nEscala += n;
    }
    if (r != 0)
    {
        Mantissa nDobro = r * 2;
        if (nDobro > nDivisor || (nDobro == nDivisor && (q & 1)))
        {
            ++q;
            if (q == LIMITE_96)
            {
                q = q / 10 + 1;
                --nEscala;
                if (nEscala < 0)
                    return false;
            }
        }
    }
    resultado = CQMXDecimal(q, nEscala, bNegativo);
    return true;
}

bool CQMXDecimal::ParaEscala(int nEscala, std::int64_t& nResultado) const
{
    Mantissa nMag;
    if (m_nEscala == nEscala)
        nMag = m_nMantissa;
    else if (m_nEscala > nEscala)
        nMag = DividirArredondando(m_nMantissa, Potencia10(m_nEscala - nEscala));
    else
    {
        int n = nEscala - m_nEscala;
        if (n > 38 || m_nMantissa > (~Mantissa{0} >> 1) / Potencia10(n))
            return false;
        nMag = m_nMantissa * Potencia10(n);
    }
    return ParaInt64(nMag, m_bNegativo, nResultado);
}

namespace QMXDecimalOp
{
bool Multiplicar(std::int64_t a, int nEscalaA, std::int64_t b, int nEscalaB,
                 int nEscalaResultado, std::int64_t& nResultado)
{
    CQMXDecimal r;
    return CQMXDecimal::Multiplicar(CQMXDecimal::DeInteiro(a, nEscalaA),
                                    CQMXDecimal::DeInteiro(b, nEscalaB), r)
        && r.ParaEscala(nEscalaResultado, nResultado);
}

bool Dividir(std::int64_t a, int nEscalaA, std::int64_t b, int nEscalaB,
             int nEscalaResultado, std::int64_t& nResultado)
{
    CQMXDecimal r;
    return CQMXDecimal::Dividir(CQMXDecimal::DeInteiro(a, nEscalaA),
                                CQMXDecimal::DeInteiro(b, nEscalaB), r)
        && r.ParaEscala(nEscalaResultado, nResultado);
}

bool MultiplicarDouble(std::int64_t a, int nEscalaA, double b,
                       int nEscalaResultado, std::int64_t& nResultado)
{
    CQMXDecimal db, r;
    return CQMXDecimal::DeDouble(b, db)
        && CQMXDecimal::Multiplicar(CQMXDecimal::DeInteiro(a, nEscalaA), db, r)
        && r.ParaEscala(nEscalaResultado, nResultado);
}

bool DividirPorDouble(std::int64_t a, int nEscalaA, double b,
                      int nEscalaResultado, std::int64_t& nResultado)
{
    CQMXDecimal db, r;
    return CQMXDecimal::DeDouble(b, db)
        && CQMXDecimal::Dividir(CQMXDecimal::DeInteiro(a, nEscalaA), db, r)
        && r.ParaEscala(nEscalaResultado, nResultado);
}

bool DividirDouble(double a, std::int64_t b, int nEscalaB,
                   int nEscalaResultado, std::int64_t& nResultado)
{
    CQMXDecimal da, r;
    return CQMXDecimal::DeDouble(a, da)
        && CQMXDecimal::Dividir(da, CQMXDecimal::DeInteiro(b, nEscalaB), r)
        && r.ParaEscala(nEscalaResultado, nResultado);
}
} // namespace QMXDecimalOp
