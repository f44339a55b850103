#pragma once

#include <cstdint>
#include <type_traits>

namespace qmx {

// 128-bit integers for the exact arithmetic (DECIMAL magnitudes, products of
// money values). Where the compiler has them (64-bit targets) they are its
// own; on 32-bit targets these classes stand in, with the same wrapping
// arithmetic: unsigned modulo 2^128, signed in two's complement with
// division truncating toward zero.
class Natural128Portavel {
 public:
  constexpr Natural128Portavel() = default;
  template <class T, class = std::enable_if_t<std::is_integral_v<T>>>
  constexpr Natural128Portavel(T valor)  // NOLINT: behaves as the built-in type
      : m_baixo(static_cast<std::uint64_t>(valor)),
        m_alto(std::is_signed_v<T> && valor < 0 ? ~std::uint64_t{0} : 0) {}
  constexpr Natural128Portavel(std::uint64_t alto, std::uint64_t baixo, int) : m_baixo(baixo), m_alto(alto) {}

  template <class T, class = std::enable_if_t<std::is_integral_v<T>>>
  constexpr explicit operator T() const {
    return static_cast<T>(m_baixo);
  }
  constexpr explicit operator bool() const { return (m_alto | m_baixo) != 0; }

  constexpr std::uint64_t Alto() const { return m_alto; }
  constexpr std::uint64_t Baixo() const { return m_baixo; }

  friend constexpr Natural128Portavel operator+(Natural128Portavel a, Natural128Portavel b) {
    const std::uint64_t baixo = a.m_baixo + b.m_baixo;
    return {a.m_alto + b.m_alto + (baixo < a.m_baixo ? 1u : 0u), baixo, 0};
  }
  friend constexpr Natural128Portavel operator-(Natural128Portavel a, Natural128Portavel b) {
    return {a.m_alto - b.m_alto - (a.m_baixo < b.m_baixo ? 1u : 0u), a.m_baixo - b.m_baixo, 0};
  }
  constexpr Natural128Portavel operator-() const { return Natural128Portavel{} - *this; }
  constexpr Natural128Portavel operator~() const { return {~m_alto, ~m_baixo, 0}; }
  friend constexpr Natural128Portavel operator*(Natural128Portavel a, Natural128Portavel b) {
    // The low 64 x 64 product in 32-bit halves, then the cross terms.
    const std::uint64_t a0 = a.m_baixo & 0xFFFFFFFFu, a1 = a.m_baixo >> 32;
    const std::uint64_t b0 = b.m_baixo & 0xFFFFFFFFu, b1 = b.m_baixo >> 32;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t meio = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    const std::uint64_t baixo = (meio << 32) | (p00 & 0xFFFFFFFFu);
    const std::uint64_t alto = p11 + (p01 >> 32) + (p10 >> 32) + (meio >> 32) + a.m_alto * b.m_baixo + a.m_baixo * b.m_alto;
    return {alto, baixo, 0};
  }
  friend constexpr Natural128Portavel operator<<(Natural128Portavel a, int n) {
    if (n <= 0) return a;
    if (n >= 128) return {};
    if (n >= 64) return {a.m_baixo << (n - 64), 0, 0};
    return {(a.m_alto << n) | (a.m_baixo >> (64 - n)), a.m_baixo << n, 0};
  }
  friend constexpr Natural128Portavel operator>>(Natural128Portavel a, int n) {
    if (n <= 0) return a;
    if (n >= 128) return {};
    if (n >= 64) return {0, a.m_alto >> (n - 64), 0};
    return {a.m_alto >> n, (a.m_baixo >> n) | (a.m_alto << (64 - n)), 0};
  }
  friend constexpr Natural128Portavel operator&(Natural128Portavel a, Natural128Portavel b) {
    return {a.m_alto & b.m_alto, a.m_baixo & b.m_baixo, 0};
  }
  friend constexpr Natural128Portavel operator|(Natural128Portavel a, Natural128Portavel b) {
    return {a.m_alto | b.m_alto, a.m_baixo | b.m_baixo, 0};
  }
  friend constexpr Natural128Portavel operator^(Natural128Portavel a, Natural128Portavel b) {
    return {a.m_alto ^ b.m_alto, a.m_baixo ^ b.m_baixo, 0};
  }
  // Quotient and remainder bit by bit; a zero divisor is the caller's fault,
  // as with the built-in type.
  static constexpr void Divide(Natural128Portavel a, Natural128Portavel b, Natural128Portavel& quociente,
                               Natural128Portavel& resto) {
    quociente = {};
    resto = {};
    if (!b) return;
    for (int bit = 127; bit >= 0; --bit) {
      resto = (resto << 1) | ((a >> bit) & Natural128Portavel{1});
      if (resto >= b) {
        resto = resto - b;
        quociente = quociente | (Natural128Portavel{1} << bit);
      }
    }
  }
  friend constexpr Natural128Portavel operator/(Natural128Portavel a, Natural128Portavel b) {
    Natural128Portavel q, r;
    Divide(a, b, q, r);
    return q;
  }
  friend constexpr Natural128Portavel operator%(Natural128Portavel a, Natural128Portavel b) {
    Natural128Portavel q, r;
    Divide(a, b, q, r);
    return r;
  }
  friend constexpr bool operator==(Natural128Portavel a, Natural128Portavel b) {
    return a.m_alto == b.m_alto && a.m_baixo == b.m_baixo;
  }
  friend constexpr bool operator<(Natural128Portavel a, Natural128Portavel b) {
    return a.m_alto != b.m_alto ? a.m_alto < b.m_alto : a.m_baixo < b.m_baixo;
  }
  friend constexpr bool operator!=(Natural128Portavel a, Natural128Portavel b) { return !(a == b); }
  friend constexpr bool operator>(Natural128Portavel a, Natural128Portavel b) { return b < a; }
  friend constexpr bool operator<=(Natural128Portavel a, Natural128Portavel b) { return !(b < a); }
  friend constexpr bool operator>=(Natural128Portavel a, Natural128Portavel b) { return !(a < b); }

  constexpr Natural128Portavel& operator+=(Natural128Portavel b) { return *this = *this + b; }
  constexpr Natural128Portavel& operator-=(Natural128Portavel b) { return *this = *this - b; }
  constexpr Natural128Portavel& operator*=(Natural128Portavel b) { return *this = *this * b; }
  constexpr Natural128Portavel& operator/=(Natural128Portavel b) { return *this = *this / b; }
  constexpr Natural128Portavel& operator%=(Natural128Portavel b) { return *this = *this % b; }
  constexpr Natural128Portavel& operator<<=(int n) { return *this = *this << n; }
  constexpr Natural128Portavel& operator>>=(int n) { return *this = *this >> n; }
  constexpr Natural128Portavel& operator|=(Natural128Portavel b) { return *this = *this | b; }
  constexpr Natural128Portavel& operator&=(Natural128Portavel b) { return *this = *this & b; }
  constexpr Natural128Portavel& operator++() { return *this = *this + 1; }
  constexpr Natural128Portavel operator++(int) {
    const Natural128Portavel antes = *this;
    ++*this;
    return antes;
  }
  constexpr Natural128Portavel& operator--() { return *this = *this - 1; }

 private:
  std::uint64_t m_baixo = 0;
  std::uint64_t m_alto = 0;
};

class Inteiro128Portavel {
 public:
  constexpr Inteiro128Portavel() = default;
  template <class T, class = std::enable_if_t<std::is_integral_v<T>>>
  constexpr Inteiro128Portavel(T valor) : m_bits(valor) {}  // NOLINT: behaves as the built-in type
  constexpr explicit Inteiro128Portavel(Natural128Portavel bits) : m_bits(bits) {}

  template <class T, class = std::enable_if_t<std::is_integral_v<T>>>
  constexpr explicit operator T() const {
    return static_cast<T>(m_bits);
  }
  constexpr explicit operator Natural128Portavel() const { return m_bits; }
  constexpr explicit operator bool() const { return static_cast<bool>(m_bits); }

  constexpr bool Negativo() const { return (m_bits.Alto() >> 63) != 0; }
  constexpr Natural128Portavel Magnitude() const { return Negativo() ? -m_bits : m_bits; }

  friend constexpr Inteiro128Portavel operator+(Inteiro128Portavel a, Inteiro128Portavel b) {
    return Inteiro128Portavel(a.m_bits + b.m_bits);
  }
  friend constexpr Inteiro128Portavel operator-(Inteiro128Portavel a, Inteiro128Portavel b) {
    return Inteiro128Portavel(a.m_bits - b.m_bits);
  }
  constexpr Inteiro128Portavel operator-() const { return Inteiro128Portavel(-m_bits); }
  friend constexpr Inteiro128Portavel operator*(Inteiro128Portavel a, Inteiro128Portavel b) {
    return Inteiro128Portavel(a.m_bits * b.m_bits);
  }
  friend constexpr Inteiro128Portavel operator/(Inteiro128Portavel a, Inteiro128Portavel b) {
    const Natural128Portavel q = a.Magnitude() / b.Magnitude();
    return Inteiro128Portavel(a.Negativo() != b.Negativo() ? -q : q);
  }
  friend constexpr Inteiro128Portavel operator%(Inteiro128Portavel a, Inteiro128Portavel b) {
    const Natural128Portavel r = a.Magnitude() % b.Magnitude();
    return Inteiro128Portavel(a.Negativo() ? -r : r);
  }
  friend constexpr bool operator==(Inteiro128Portavel a, Inteiro128Portavel b) { return a.m_bits == b.m_bits; }
  friend constexpr bool operator<(Inteiro128Portavel a, Inteiro128Portavel b) {
    return a.Negativo() != b.Negativo() ? a.Negativo() : a.m_bits < b.m_bits;
  }
  friend constexpr bool operator!=(Inteiro128Portavel a, Inteiro128Portavel b) { return !(a == b); }
  friend constexpr bool operator>(Inteiro128Portavel a, Inteiro128Portavel b) { return b < a; }
  friend constexpr bool operator<=(Inteiro128Portavel a, Inteiro128Portavel b) { return !(b < a); }
  friend constexpr bool operator>=(Inteiro128Portavel a, Inteiro128Portavel b) { return !(a < b); }

  constexpr Inteiro128Portavel& operator+=(Inteiro128Portavel b) { return *this = *this + b; }
  constexpr Inteiro128Portavel& operator-=(Inteiro128Portavel b) { return *this = *this - b; }
  constexpr Inteiro128Portavel& operator*=(Inteiro128Portavel b) { return *this = *this * b; }
  constexpr Inteiro128Portavel& operator/=(Inteiro128Portavel b) { return *this = *this / b; }
  constexpr Inteiro128Portavel& operator++() { return *this = *this + 1; }
  constexpr Inteiro128Portavel& operator--() { return *this = *this - 1; }

 private:
  Natural128Portavel m_bits;
};

#if defined(__SIZEOF_INT128__)
__extension__ using Natural128 = unsigned __int128;
__extension__ using Inteiro128 = __int128;
#else
using Natural128 = Natural128Portavel;
using Inteiro128 = Inteiro128Portavel;
#endif

}  // namespace qmx
