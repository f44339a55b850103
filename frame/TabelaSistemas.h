#pragma once

#include <cstdint>
#include <string>

namespace qmx {

// One system of the maker's product line: its two-letter module code (the
// message catalogues are named after it), the product title shown as the
// caption of its messages, its system number and the year of its release.
struct SistemaZT {
  const char* modulo;
  const char* titulo;
  std::uint32_t numero;
  std::uint32_t ano;
};

// The maker's table of systems: 25 rows, addressed by a 1-based index that
// equals the system number. This library is system 19, module "EC".
class CTabelaSistemas {
 public:
  static constexpr std::uint32_t kQuantidade = 25;
  static constexpr std::uint32_t kSistemaECF = 19;

  // The row of a 1-based index; null outside 1..25.
  static const SistemaZT* PorIndice(std::uint32_t indice);
  // The row of a module code (letter case ignored); null when unknown.
  static const SistemaZT* PorModulo(const std::string& modulo);
  // The caption of a system's messages; empty outside the table.
  static std::string Titulo(std::uint32_t indice);
};

}  // namespace qmx
