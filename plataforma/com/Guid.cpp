#include "plataforma/com/Guid.h"

#include "plataforma/texto/Hexadecimal.h"

#include <cstdio>

namespace qmx::com {
namespace {

using qmx::texto::ValorHex;

// Reads `digitos` hex digits at `pos`; false when one is not a digit.
bool LeHex(const std::string& texto, size_t pos, int digitos, std::uint32_t& valor) {
  valor = 0;
  for (int i = 0; i < digitos; ++i) {
    const int v = ValorHex(texto[pos + static_cast<size_t>(i)]);
    if (v < 0) return false;
    valor = valor * 16u + static_cast<std::uint32_t>(v);
  }
  return true;
}

}  // namespace

std::string TextoGuid(const GUID& g) {
  char texto[40];
  std::snprintf(texto, sizeof texto, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return texto;
}

std::optional<GUID> LeGuid(const std::string& texto) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}: 38 characters.
  if (texto.size() != 38 || texto.front() != '{' || texto.back() != '}') return std::nullopt;
  if (texto[9] != '-' || texto[14] != '-' || texto[19] != '-' || texto[24] != '-') return std::nullopt;
  GUID g;
  std::uint32_t v = 0;
  if (!LeHex(texto, 1, 8, v)) return std::nullopt;
  g.Data1 = v;
  if (!LeHex(texto, 10, 4, v)) return std::nullopt;
  g.Data2 = static_cast<std::uint16_t>(v);
  if (!LeHex(texto, 15, 4, v)) return std::nullopt;
  g.Data3 = static_cast<std::uint16_t>(v);
  static constexpr size_t kPosicoes[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!LeHex(texto, kPosicoes[i], 2, v)) return std::nullopt;
    g.Data4[i] = static_cast<std::uint8_t>(v);
  }
  return g;
}

}  // namespace qmx::com
