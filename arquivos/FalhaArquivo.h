#pragma once

#include <string>

#include "plataforma/arquivos/ExcecaoArquivo.h"

namespace qmx {

// The one box every generator shows for a file it could not write (or
// sign): what could not be done, the file as this system names it, and
// why, in the operator's words. It is an error box: the command line ends
// "falhou".
void AvisaFalhaArquivo(const std::string& titulo, const std::string& caminho, const std::string& causa,
                       const std::string& acao = "gravar");
void AvisaFalhaArquivo(const std::string& titulo, const CExcecaoArquivo& falha, const std::string& acao = "gravar");

}  // namespace qmx
