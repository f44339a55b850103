#pragma once

#include <filesystem>
#include <string>
#include <vector>
#include <iosfwd>

namespace qmx::cli {

// What the operator saw during a command, read back from the record file
// that the library's host writes: a line per message box and per dialog.
struct VistoPeloOperador {
  bool dialogoCancelado = false;  // the command's dialog closed with Cancel
  bool caixaDeErro = false;       // a box with the error icon was shown
  // Script steps the dialogs could not take (the dialog was cancelled).
  std::vector<std::string> passosRecusados;
};

// Writes each box and dialog of the record to the stream as the operator
// read them (real line breaks, the system's paths) and tells how they
// ended. idModelo names the command's own dialog (0: the last one closed,
// which is the outermost).
VistoPeloOperador MostraRegistro(const std::filesystem::path& arquivo, int idModelo, std::ostream& saida);

}  // namespace qmx::cli
