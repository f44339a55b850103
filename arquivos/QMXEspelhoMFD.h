#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the Espelho MFD file.
class CQMXEspelhoMFD : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14007;
  CQMXEspelhoMFD() : CQMXFiltroArquivo(IDD) {}
};

}  // namespace qmx
