#pragma once

#include <optional>
#include <string>

namespace qmx {

// The temporary files of the generated texts, named as the platform the
// program comes from names them.
class ArquivoTemporario {
 public:
  // The system's temporary folder in the library's path form, ending in
  // "\"; nothing when it is longer than 260 characters or missing.
  static std::optional<std::string> Pasta();

  // Creates a new, empty file in the folder, named by the first three
  // characters of the prefix, a 16-bit number in uppercase hexadecimal
  // without leading zeros and ".tmp" (for example "txtD28D.tmp"), trying
  // numbers from a random start until one is free. Returns its path;
  // nothing when none could be created.
  static std::optional<std::string> Cria(const std::string& pasta, const std::string& prefixo);
};

}  // namespace qmx
