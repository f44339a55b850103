#pragma once

#include <cstdint>

namespace qmx::cli {

// splitmix64: the demonstration's draws, small, fast and the same
// everywhere, so that a seed always gives the same company.
class Sorteio {
 public:
  explicit Sorteio(std::uint64_t semente) : m_estado(semente) {}
  std::uint64_t Proximo() {
    std::uint64_t z = (m_estado += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A whole number from minimo to maximo, both included.
  int Entre(int minimo, int maximo) {
    return minimo + static_cast<int>(Proximo() % static_cast<std::uint64_t>(maximo - minimo + 1));
  }
  bool Chance(int porMil) { return static_cast<int>(Proximo() % 1000) < porMil; }
  bool Sim() { return (Proximo() & 1) != 0; }

 private:
  std::uint64_t m_estado;
};

}  // namespace qmx::cli
