#pragma once

#include <cstdint>

// The key of the Sintegra item sums: the item's code, a cancelled flag and
// the item's kind letter ('P' product, 'S' service). Its hash, as the maps
// take it: the flag's low 16 bits under the code shifted left by 16.
struct REG_KEY_SINTEGRA {
  std::uint32_t Codigo;
  std::uint32_t Cancelado;
  std::uint32_t Tipo;
  bool operator==(const REG_KEY_SINTEGRA&) const = default;
};

inline std::uint32_t HashChaveMFC(const REG_KEY_SINTEGRA& chave) {
  return (chave.Codigo << 16) | (chave.Cancelado & 0xFFFFu);
}
