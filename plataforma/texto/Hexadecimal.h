#pragma once

namespace qmx::texto {

// The value of a hexadecimal digit (either letter case), or -1.
constexpr int ValorHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace qmx::texto
