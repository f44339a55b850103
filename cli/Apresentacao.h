#pragma once

#include <cstdint>
#include <string>

namespace qmx::cli {

// How the program shows the library's answers to the operator. Texts are
// Windows-1252, like the library's.

// A result code with its meaning: "0x80004001 (não implementado)"; a code
// without a known text reads "(falhou)".
std::string DescreveResultado(std::uint32_t codigo);

// An amount as the library holds it, ten-thousandths in an integer:
// "-0,2500", "0,0100", "1.234,5600".
std::string FormataValor(std::int64_t decimosMilesimos);

// A text of the record file with its escapes (\r, \n, \t, \\) turned back
// into the characters.
std::string SemEscapes(const std::string& escapado);

// A message box's text as the record file keeps it (line breaks and
// backslashes escaped, paths written the Windows way) turned into what the
// operator reads on this system: real line breaks, and the "\" of a path
// that starts at the system's root written "/".
std::string TextoParaOperador(const std::string& escapado);

}  // namespace qmx::cli
