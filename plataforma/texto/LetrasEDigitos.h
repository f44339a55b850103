#pragma once

#include <string>
#include <string_view>

namespace qmx::texto {

// A registration (state, municipal) as the fiscal files take it: its ASCII
// letters and digits, without dots, slashes, dashes or blanks.
inline std::string LetrasEDigitos(std::string_view texto) {
  std::string limpo;
  for (char c : texto)
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) limpo += c;
  return limpo;
}

}  // namespace qmx::texto
