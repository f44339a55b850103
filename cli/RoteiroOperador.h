#pragma once

#include <string>
#include <vector>

#include "cli/Comandos.h"
#include "cli/Opcoes.h"

namespace qmx::cli {

// The operator's answers given on the command line, turned into the script
// that the library's host plays.

// The generic answers (--dialogo, --digita, --clica, --seleciona, --ok,
// --cancela, --resposta) in command-line order.
std::string RoteiroDasOpcoes(const Opcoes& opcoes);

// The answers by name for a filter dialog: the choices clicked, its fields
// typed, then OK unless the answers already close the dialog. Empty when
// no answer by name was given.
std::string RoteiroDosCampos(const Comando& comando, const Opcoes& opcoes);

// Both, in the order the dialog needs them (answers by name first, the
// generic ones then continue the same dialog).
std::string RoteiroDoComando(const Comando& comando, const Opcoes& respostas);

// The options of a command without the operator's answers; tells whether
// there were any.
std::vector<std::string> SemRespostas(const std::vector<std::string>& argumentos, const Comando& comando,
                                      bool& tinhaRespostas);

}  // namespace qmx::cli
