#pragma once

#include <optional>
#include <string>

namespace qmx {

// Reading of files whose paths come from outside (the caller, the
// environment, the registry): only a regular file is opened. A FIFO, a
// device or a folder is refused at once, never waited on, so that a
// hostile path cannot hang the point-of-sale program.
class LeituraRegular {
 public:
  // A descriptor open for reading (blocking reads) on the regular file at
  // the native path, or -1 when there is none or it is not regular.
  static int Abre(const std::string& caminhoNativo);

  // The whole content of the regular file at the native path; nothing when
  // it cannot be opened or read whole.
  static std::optional<std::string> Le(const std::string& caminhoNativo);
};

}  // namespace qmx
