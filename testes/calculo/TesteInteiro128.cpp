// The 128-bit classes of 32-bit builds against the compiler's own 128-bit
// integers, where this build has them: the same bits for every operation.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "calculo/Inteiro128.h"

#if defined(__SIZEOF_INT128__)

namespace {

using qmx::Inteiro128Portavel;
using qmx::Natural128Portavel;
__extension__ using U = unsigned __int128;
__extension__ using I = __int128;

Natural128Portavel P(U v) { return {static_cast<std::uint64_t>(v >> 64), static_cast<std::uint64_t>(v), 0}; }
U N(Natural128Portavel v) { return (static_cast<U>(v.Alto()) << 64) | v.Baixo(); }
U N(Inteiro128Portavel v) { return N(static_cast<Natural128Portavel>(v)); }

std::vector<U> Valores() {
  const U um = 1;
  std::vector<U> valores = {0,           1,           2,           3,           10,          0xFFFFFFFFu,
                            um << 32,    um << 63,    (um << 64) - 1, um << 64, (um << 64) + 1, um << 96,
                            (um << 96) - 1, um << 127, (um << 127) - 1, ~U{0},    ~U{0} - 1,   U{10000000000000000000u} * 10};
  std::mt19937_64 sorteio(128);
  for (int i = 0; i < 40; ++i) {
    const U alto = sorteio(), baixo = sorteio();
    valores.push_back((alto << 64) | baixo);
    valores.push_back(baixo >> (sorteio() % 64));
  }
  return valores;
}

TEST(Inteiro128, NaturalIgualAoDoCompilador) {
  const auto valores = Valores();
  for (U a : valores)
    for (U b : valores) {
      SCOPED_TRACE(testing::Message() << std::hex << static_cast<std::uint64_t>(a >> 64) << ":"
                                      << static_cast<std::uint64_t>(a) << " " << static_cast<std::uint64_t>(b >> 64)
                                      << ":" << static_cast<std::uint64_t>(b));
      ASSERT_EQ(N(P(a) + P(b)), a + b);
      ASSERT_EQ(N(P(a) - P(b)), a - b);
      ASSERT_EQ(N(P(a) * P(b)), a * b);
      ASSERT_EQ(P(a) < P(b), a < b);
      ASSERT_EQ(P(a) == P(b), a == b);
      ASSERT_EQ(P(a) >= P(b), a >= b);
      if (b != 0) {
        ASSERT_EQ(N(P(a) / P(b)), a / b);
        ASSERT_EQ(N(P(a) % P(b)), a % b);
      }
    }
  for (U a : valores)
    for (int n : {0, 1, 31, 32, 63, 64, 65, 96, 127}) {
      ASSERT_EQ(N(P(a) << n), a << n);
      ASSERT_EQ(N(P(a) >> n), a >> n);
    }
  EXPECT_EQ(N(P(5) << 128), U{0});
  EXPECT_EQ(N(-P(1)), ~U{0});
  EXPECT_EQ(N(Natural128Portavel(-1)), ~U{0});
  EXPECT_EQ(N(Natural128Portavel(std::int64_t{-2})), ~U{0} - 1);
  EXPECT_EQ(static_cast<std::uint32_t>(P((U{7} << 64) | 0x123456789u)), 0x23456789u);
}

TEST(Inteiro128, InteiroIgualAoDoCompilador) {
  const auto valores = Valores();
  for (U ua : valores)
    for (U ub : valores) {
      const I a = static_cast<I>(ua), b = static_cast<I>(ub);
      const Inteiro128Portavel pa(P(ua)), pb(P(ub));
      ASSERT_EQ(pa < pb, a < b);
      ASSERT_EQ(pa > pb, a > b);
      // The reference wraps in unsigned arithmetic: signed overflow is undefined.
      ASSERT_EQ(N(pa * pb), ua * ub);
      // Division truncates toward zero; the one overflowing quotient is left out.
      if (b != 0 && !(a == static_cast<I>(U{1} << 127) && b == -1)) {
        ASSERT_EQ(N(pa / pb), static_cast<U>(a / b));
        ASSERT_EQ(N(pa % pb), static_cast<U>(a % b));
      }
    }
  EXPECT_EQ(static_cast<std::int64_t>(Inteiro128Portavel(-7) / 2), -3);
  EXPECT_EQ(static_cast<std::int64_t>(Inteiro128Portavel(-7) % 2), -1);
  EXPECT_EQ(static_cast<std::int64_t>(Inteiro128Portavel(7) / -2), -3);
  EXPECT_EQ(static_cast<std::int64_t>(-Inteiro128Portavel(INT64_MIN) / 2), std::int64_t{1} << 62);
  EXPECT_TRUE(Inteiro128Portavel(-1) < Inteiro128Portavel(0));
  EXPECT_FALSE(Inteiro128Portavel(0) < Inteiro128Portavel(-1));
  EXPECT_TRUE(Inteiro128Portavel(0) <= Inteiro128Portavel(0));
}

}  // namespace

#endif
