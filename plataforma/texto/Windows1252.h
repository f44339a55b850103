#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qmx::texto {

// Texts inside the library are Windows-1252 bytes, one byte a character.
// These two conversions are used only at the edges: data coming from UTF-8
// sources (databases, the registry file, the terminal) and text shown on a
// UTF-8 terminal or handed to the file system.

// UTF-8 to Windows-1252. A character that Windows-1252 cannot hold, and any
// byte that is not valid UTF-8, becomes "?". Never throws on bad input.
std::string DeUtf8(std::string_view utf8);
// The same into a buffer, up to capacidade bytes (no terminator); answers
// how many were written: DeUtf8(utf8) cut at that many.
std::size_t DeUtf8Em(std::string_view utf8, char* destino, std::size_t capacidade);

// Like DeUtf8, but a text that is not valid UTF-8 as a whole is taken to be
// Windows-1252 already and returned unchanged.
std::string DeUtf8OuLatin(std::string_view texto);

// UTF-8 to Windows-1252 without guessing: nothing when the text is not valid
// UTF-8 or holds a character that Windows-1252 cannot hold (for names of
// files and folders, where a "?" would name another file).
std::optional<std::string> DeUtf8Exato(std::string_view utf8);

// Windows-1252 to UTF-8. The five undefined bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the C1 controls of the same value, as Windows itself does.
std::string ParaUtf8(std::string_view cp1252);

}  // namespace qmx::texto
