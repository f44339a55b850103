#pragma once

#include <string>

#include "plataforma/arquivos/ExcecaoArquivo.h"

namespace qmx {

// What the operator reads after a box's own text when a file could not be
// written for want of room (the system's error `erro` while writing
// `arquivo`, in the library's or the system's path form): the folder and
// the room it has left, or the size the system lets a file reach there.
// Empty for any other failure.
std::string TextoFaltaEspaco(int erro, const std::string& arquivo);
std::string TextoFaltaEspaco(const CExcecaoArquivo& falha);

// Why a file could not be written or read, whatever the failure: one
// sentence in Portuguese, naming the folder or the file as this system
// names it (no permission, a read-only disk, a folder that does not exist,
// a file another program holds, no room left...). `erro` is the system's
// error number.
std::string CausaDaFalha(int erro, const std::string& arquivo);
std::string CausaDaFalha(const CExcecaoArquivo& falha);

}  // namespace qmx
