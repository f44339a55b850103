#pragma once

#include "frame/ContextoBiblioteca.h"

namespace qmx {

// The 1-based position, among the ECFs of the data server, of the fiscal
// printer connected to this computer, or -1.
int PosicaoECFAtivo(const TriploConexao& triplo);

}  // namespace qmx
