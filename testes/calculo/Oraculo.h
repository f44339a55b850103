#pragma once

// An independent oracle for the calculo tests, written long-hand: a small
// unsigned big integer (base 2^32, bit-by-bit long division) and exact
// rationals on __int128, with every rounding spelt out.
// Nothing here uses the library's own arithmetic.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace oraculo
{
using i128 = __int128;
using u128 = unsigned __int128;

struct Nat
{
    std::vector<std::uint32_t> d; // little end first, no leading zero limbs

    Nat() = default;
    explicit Nat(u128 v)
    {
        for (; v; v >>= 32)
            d.push_back(static_cast<std::uint32_t>(v));
    }
    bool zero() const { return d.empty(); }
    bool impar() const { return !d.empty() && (d[0] & 1); }
    void aparar()
    {
        while (!d.empty() && d.back() == 0)
            d.pop_back();
    }
    std::size_t bits() const
    {
        return d.empty() ? 0 : (d.size() - 1) * 32 + (32 - static_cast<std::size_t>(__builtin_clz(d.back())));
    }
    bool bit(std::size_t i) const { return (d[i / 32] >> (i % 32)) & 1; }
    u128 u() const // caller knows it fits
    {
        u128 v = 0;
        for (std::size_t i = d.size(); i-- > 0;)
            v = (v << 32) | d[i];
        return v;
    }
};

inline int cmp(const Nat& a, const Nat& b)
{
    if (a.d.size() != b.d.size())
        return a.d.size() < b.d.size() ? -1 : 1;
    for (std::size_t i = a.d.size(); i-- > 0;)
        if (a.d[i] != b.d[i])
            return a.d[i] < b.d[i] ? -1 : 1;
    return 0;
}

inline Nat mul(const Nat& a, const Nat& b)
{
    Nat r;
    r.d.assign(a.d.size() + b.d.size() + 1, 0);
    for (std::size_t i = 0; i < a.d.size(); ++i)
    {
        std::uint64_t carry = 0;
        for (std::size_t k = i; k - i < b.d.size() || carry; ++k)
        {
            std::uint64_t t = r.d[k] + carry + (k - i < b.d.size() ? std::uint64_t{a.d[i]} * b.d[k - i] : 0);
            r.d[k] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
    }
    r.aparar();
    return r;
}

inline Nat add(const Nat& a, const Nat& b)
{
    Nat r;
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < std::max(a.d.size(), b.d.size()) || carry; ++i)
    {
        std::uint64_t t = carry + (i < a.d.size() ? a.d[i] : 0) + (i < b.d.size() ? b.d[i] : 0);
        r.d.push_back(static_cast<std::uint32_t>(t));
        carry = t >> 32;
    }
    r.aparar();
    return r;
}

inline Nat sub(const Nat& a, const Nat& b) // a >= b
{
    Nat r = a;
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < r.d.size(); ++i)
    {
        std::int64_t t = static_cast<std::int64_t>(r.d[i]) - borrow - (i < b.d.size() ? b.d[i] : 0);
        borrow = t < 0;
        r.d[i] = static_cast<std::uint32_t>(t + (borrow ? (std::int64_t{1} << 32) : 0));
    }
    r.aparar();
    return r;
}

inline void divmod(const Nat& a, const Nat& b, Nat& q, Nat& r)
{
    r = Nat();
    q.d.assign(a.d.size(), 0);
    for (std::size_t i = a.bits(); i-- > 0;)
    {
        r = add(r, r);
        if (a.bit(i))
            r = add(r, Nat(1)); // the low bit is 0 after the shift
        if (cmp(r, b) >= 0)
        {
            r = sub(r, b);
            q.d[i / 32] |= (1u << (i % 32));
        }
    }
    q.aparar();
}

inline Nat pot10(int k)
{
    Nat r(1);
    for (int i = 0; i < k; ++i)
        r = mul(r, Nat(10));
    return r;
}

inline const Nat& dois96()
{
    static const Nat n(static_cast<u128>(1) << 96);
    return n;
}

enum class Modo
{
    MeioLongeDoZero,
    Truncar,
    MeioPar
};

// Magnitude of num/den rounded to an integer by the mode.
inline Nat arredonda(const Nat& num, const Nat& den, Modo m)
{
    Nat q, r;
    divmod(num, den, q, r);
    if (r.zero() || m == Modo::Truncar)
        return q;
    int c = cmp(add(r, r), den);
    return (c > 0 || (c == 0 && (m == Modo::MeioLongeDoZero || q.impar()))) ? add(q, Nat(1)) : q;
}

inline Nat mag(std::int64_t v)
{
    return Nat(v < 0 ? static_cast<u128>(-static_cast<i128>(v)) : static_cast<u128>(v));
}

// Signed result back to int64; nullopt when out of range.
inline std::optional<std::int64_t> comSinal(const Nat& m, bool neg)
{
    if (m.bits() > 64)
        return std::nullopt;
    u128 v = m.u(), lim = static_cast<u128>(1) << 63;
    if (neg ? v > lim : v >= lim)
        return std::nullopt;
    return static_cast<std::int64_t>(neg ? -static_cast<i128>(v) : static_cast<i128>(v));
}

// A DECIMAL (magnitude at scale s) rounded half to even to scale t.
inline Nat paraEscala(const Nat& m, int s, int t)
{
    return s >= t ? arredonda(m, pot10(s - t), Modo::MeioPar) : mul(m, pot10(t - s));
}

// The DECIMAL product as the platform computes it, then half to even to t.
inline std::optional<std::int64_t> produto(std::int64_t a, int sa, std::int64_t b, int sb, int t)
{
    Nat p = mul(mag(a), mag(b));
    int s = sa + sb;
    int k = std::max(0, s - 28);
    while (cmp(arredonda(p, pot10(k), Modo::Truncar), dois96()) >= 0)
        ++k;
    Nat q = arredonda(p, pot10(k), Modo::MeioPar);
    if (cmp(q, dois96()) == 0)
    {
        q = arredonda(q, Nat(10), Modo::MeioPar);
        ++k;
    }
    if (s - k < 0)
        return std::nullopt;
    return comSinal(paraEscala(q, s - k, t), (a < 0) != (b < 0) && a != 0 && b != 0);
}

// The DECIMAL quotient: the largest scale <= 28 whose truncated quotient
// fits in 96 bits, rounded half to even there; then half to even to t.
inline std::optional<std::int64_t> quociente(std::int64_t a, int sa, std::int64_t b, int sb, int t)
{
    if (b == 0)
        return std::nullopt;
    Nat den = mul(mag(b), pot10(sa));
    for (int s = 28; s >= 0; --s)
    {
        Nat num = mul(mag(a), pot10(sb + s));
        if (cmp(arredonda(num, den, Modo::Truncar), dois96()) >= 0)
            continue;
        Nat q = arredonda(num, den, Modo::MeioPar);
        int sf = s;
        if (cmp(q, dois96()) == 0)
        {
            q = arredonda(q, Nat(10), Modo::MeioPar);
            if (--sf < 0)
                return std::nullopt;
        }
        return comSinal(paraEscala(q, sf, t), (a < 0) != (b < 0) && a != 0);
    }
    return std::nullopt;
}

inline i128 p10(int k)
{
    i128 p = 1;
    for (int i = 0; i < k; ++i)
        p *= 10;
    return p;
}

// Rounding of a scaled integer v to a multiple of 10^k, decided on its
// decimal digits, one mode at a time.
inline std::int64_t arredondaDigitos(std::int64_t v, int k, Modo m)
{
    if (k == 0)
        return v;
    bool neg = v < 0;
    u128 x = neg ? static_cast<u128>(-static_cast<i128>(v)) : static_cast<u128>(v);
    std::vector<int> dig(static_cast<std::size_t>(k) + 1, 0); // least significant first
    std::size_t n = 0;
    for (u128 t = x; t; t /= 10, ++n)
    {
        if (n >= dig.size())
            dig.push_back(0);
        dig[n] = static_cast<int>(t % 10);
    }
    int primeiro = dig[static_cast<std::size_t>(k) - 1];
    bool depois = std::any_of(dig.begin(), dig.begin() + (k - 1), [](int c) { return c != 0; });
    bool sobe = m == Modo::MeioLongeDoZero ? primeiro >= 5
              : m == Modo::MeioPar ? primeiro > 5 || (primeiro == 5 && (depois || dig[static_cast<std::size_t>(k)] % 2 == 1))
                                   : false;
    u128 p = static_cast<u128>(p10(k));
    i128 r = static_cast<i128>((x / p + (sobe ? 1 : 0)) * p);
    return static_cast<std::int64_t>(neg ? -r : r);
}

// Exact rationals for the item-value oracle.
struct Q
{
    i128 n = 0, d = 1;
};

inline Q norm(i128 n, i128 d)
{
    if (d < 0)
        n = -n, d = -d;
    i128 g = n < 0 ? -n : n;
    for (i128 b = d; b;)
        std::swap(g %= b, b);
    if (g > 1)
        n /= g, d /= g;
    return Q{n, d};
}
inline Q qde(std::int64_t v, int escala) { return norm(v, p10(escala)); }
inline Q operator*(Q a, Q b) { return norm(a.n * b.n, a.d * b.d); }
inline Q operator/(Q a, Q b) { return norm(a.n * b.d, a.d * b.n); }
inline Q operator+(Q a, Q b) { return norm(a.n * b.d + b.n * a.d, a.d * b.d); }
inline Q operator-(Q a, Q b) { return norm(a.n * b.d - b.n * a.d, a.d * b.d); }

// x rounded to dec decimals by the mode, still a rational.
inline Q arred(Q x, int dec, Modo m)
{
    i128 p = p10(dec);
    bool neg = x.n < 0;
    i128 num = (neg ? -x.n : x.n) * p;
    i128 q = num / x.d, r = num % x.d;
    if (r != 0 && m != Modo::Truncar && (2 * r > x.d || (2 * r == x.d && (m == Modo::MeioLongeDoZero || (q & 1)))))
        ++q;
    return norm(neg ? -q : q, p);
}

// x at the given scale as an integer (x must be a multiple of 10^-escala).
inline std::int64_t escalado(Q x, int escala) { return static_cast<std::int64_t>(x.n * p10(escala) / x.d); }
} // namespace oraculo
