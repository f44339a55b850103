#pragma once

#include "arquivos/ErroDadosArquivo.h"

namespace qmx::efd {

// A data server answered with a failure while a digital-bookkeeping file
// was built: the part being written stops and the failure is reported with
// the source line where it was found.
using CErroDadosEFD = CErroDadosArquivo;
inline void Exige(com::HRESULT resultado, int linha) { ExigeDados(resultado, linha); }

}  // namespace qmx::efd
