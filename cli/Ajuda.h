#pragma once

#include <string>

namespace qmx::cli {

struct Comando;

// "qmx --help": the general options, the operator's answers and every
// command with a line of help.
std::string AjudaGeral();

// "qmx COMANDO --help": what the command takes, and for a command that
// opens a dialog, the dialog's controls by id with their labels (for
// --digita, --clica and --seleciona).
std::string AjudaDoComando(const Comando& comando);

}  // namespace qmx::cli
