#pragma once

#include <string>

namespace qmx::cli {

struct Ambiente;

// "qmx mensagem MODULO NUMERO [--pasta DIR]": shows a message of the
// maker's catalogue. The library exports nothing that shows a catalogue
// message, so the program reads the catalogue itself, with the library's
// own catalogue reader compiled in: the folder comes from --pasta, else the
// registry's "Mensagens" value, else the catalogues installed with the build.
bool ExecutaMensagem(Ambiente& ambiente);

// The catalogues installed with the build.
std::string PastaMensagensInstalada();

}  // namespace qmx::cli
