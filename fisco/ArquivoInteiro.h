#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace qmx {

// Whole-file reads and writes for files handled as one byte array. Paths are
// the library's (Windows-1252, "\" allowed).
class ArquivoInteiro {
 public:
  // The whole file in one read of the length it had when opened; nothing
  // when it cannot be opened or the read comes short.
  static std::optional<std::string> Le(const std::string& caminho);

  // Replaces the file's content: written beside it, then renamed over it,
  // so it is never half-written. A symbolic link at the path is replaced,
  // not followed; a regular file keeps its permissions. False, with the old content intact, on any failure.
  static bool Substitui(const std::string& caminho, const std::string& conteudo);

};

}  // namespace qmx
