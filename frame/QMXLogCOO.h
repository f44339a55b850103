#pragma once

#include <cstdint>

namespace qmx {

// Turns the code of a logged printer operation into its description.
class CQMXLogCOO {
 public:
  CQMXLogCOO() = default;
  virtual ~CQMXLogCOO() = default;

  // Writes a constant text of the library (the caller must not free or
  // change it). Codes without a description give "COO - Não identificado".
  bool Descricao(std::uint8_t codigo, const char** descricao) const;
};

}  // namespace qmx
