#include "plataforma/texto/Windows1252.h"

#include <cstdint>
#include <optional>

namespace qmx::texto {
namespace {

// Code points of bytes 0x80..0x9F; the others are the same as Latin-1.
constexpr char32_t kFaixa80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<unsigned char> ByteDe(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kFaixa80[i] == cp) return static_cast<unsigned char>(0x80 + i);
  return std::nullopt;
}

// Decodes one UTF-8 sequence at position i; advances i. Returns nullopt for
// a malformed sequence (i then moves past the bad byte only).
std::optional<char32_t> ProximoCodigo(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int extra;
  char32_t cp;
  if (b0 < 0x80) { ++i; return b0; }
  if ((b0 & 0xE0) == 0xC0) { extra = 1; cp = b0 & 0x1F; }
  else if ((b0 & 0xF0) == 0xE0) { extra = 2; cp = b0 & 0x0F; }
  else if ((b0 & 0xF8) == 0xF0) { extra = 3; cp = b0 & 0x07; }
  else { ++i; return std::nullopt; }
  if (i + extra >= s.size()) { ++i; return std::nullopt; }
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) { ++i; return std::nullopt; }
    cp = (cp << 6) | (b & 0x3F);
  }
  // Reject overlong forms, surrogates and values beyond Unicode.
  static constexpr char32_t kMinimo[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMinimo[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return std::nullopt;
  }
  i += extra + 1;
  return cp;
}

void AnexaUtf8(std::string& saida, char32_t cp) {
  if (cp < 0x80) {
    saida += static_cast<char>(cp);
  } else if (cp < 0x800) {
    saida += static_cast<char>(0xC0 | (cp >> 6));
    saida += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    saida += static_cast<char>(0xE0 | (cp >> 12));
    saida += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    saida += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// UTF-8 to Windows-1252; a character that cannot be held becomes "?", or,
// when exact, makes the whole conversion fail.
std::optional<std::string> Converte(std::string_view utf8, bool exato) {
  std::string saida;
  saida.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto cp = ProximoCodigo(utf8, i);
    const auto byte = cp ? ByteDe(*cp) : std::nullopt;
    if (!byte && exato) return std::nullopt;
    saida += byte ? static_cast<char>(*byte) : '?';
  }
  return saida;
}

}  // namespace

std::string DeUtf8(std::string_view utf8) { return *Converte(utf8, false); }

std::size_t DeUtf8Em(std::string_view utf8, char* destino, std::size_t capacidade) {
  // Every character (and every malformed byte) gives one byte: the output
  // stops at the capacity where DeUtf8's would be cut.
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size() && n < capacidade;) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    if (b0 < 0x80) {
      destino[n++] = static_cast<char>(b0);
      ++i;
      continue;
    }
    const auto cp = ProximoCodigo(utf8, i);
    const auto byte = cp ? ByteDe(*cp) : std::nullopt;
    destino[n++] = byte ? static_cast<char>(*byte) : '?';
  }
  return n;
}

std::optional<std::string> DeUtf8Exato(std::string_view utf8) { return Converte(utf8, true); }

std::string DeUtf8OuLatin(std::string_view texto) {
  size_t i = 0;
  while (i < texto.size())
    if (!ProximoCodigo(texto, i)) return std::string(texto);
  return DeUtf8(texto);
}

std::string ParaUtf8(std::string_view cp1252) {
  std::string saida;
  saida.reserve(cp1252.size() + cp1252.size() / 4);
  for (char c : cp1252) {
    const auto b = static_cast<unsigned char>(c);
    AnexaUtf8(saida, (b >= 0x80 && b < 0xA0) ? kFaixa80[b - 0x80] : char32_t{b});
  }
  return saida;
}

}  // namespace qmx::texto
