#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qmx::registro {

// One meaningful line of a registry text (the file form of the registry:
// "[Key\Path]" sections and "Name=Value" lines, ";" or "#" comments): a
// key, or a value of the key above it.
struct LinhaRegistro {
  std::string chave;                // without leading or trailing backslashes
  std::optional<std::string> nome;  // absent on the line that names a key
  std::string valor;                // without the quotes that keep its blanks
};

// The keys and values of a registry text, in the order they stand, in
// Windows-1252 (a text that is not valid UTF-8 is taken as Windows-1252
// already). A malformed section line ends the section before it: the values
// after it belong to no key and are left out, as are lines that are neither
// a section, a value nor a comment, and values with no name.
std::vector<LinhaRegistro> InterpretaTextoRegistro(const std::string& bruto);

// A key path as the registry names it: "A\B\" and "\A\B" are "A\B".
std::string NormalizaChaveRegistro(const std::string& chave);

#if defined(_WIN32)
// Writes the keys and text values of a registry text into the system's
// registry under HKEY_LOCAL_MACHINE (keys made as needed, values replaced).
// False at the first key or value the system refuses (no rights to the
// machine's keys, for instance); `erro` then gets the system's error code.
bool GravaNoRegistroDoSistema(const std::string& bruto, unsigned long* erro = nullptr);
#endif

}  // namespace qmx::registro
