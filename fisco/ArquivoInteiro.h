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
  // so it is never half-written. A link is followed; the file keeps its
  // permissions. False, with the old content intact, on any failure.
  static bool Substitui(const std::string& caminho, const std::string& conteudo);

  // The same, with the new content being the first `tamanhoInicio` bytes of
  // the open file `origem` (copied inside the kernel where it can be)
  // followed by `final`.
  static bool Substitui(const std::string& caminho, int origem, std::size_t tamanhoInicio, const std::string& final);
};

}  // namespace qmx
