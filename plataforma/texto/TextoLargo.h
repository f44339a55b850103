#pragma once

// Windows only: the system's wide (UTF-16) texts and the library's
// Windows-1252 ones.
#if defined(_WIN32)

#include <string>

namespace qmx::texto {

// A narrow text in a code page (Windows-1252 unless told) as UTF-16.
std::wstring Largo(const std::string& texto, unsigned paginaCodigo = 1252);

// UTF-16 as Windows-1252; a character with no Windows-1252 form becomes "?",
// as the system's own conversion to the ANSI code page does.
std::string Estreito(const std::wstring& largo);

}  // namespace qmx::texto

#endif
