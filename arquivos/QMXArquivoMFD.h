#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the Arquivo MFD file.
class CQMXArquivoMFD : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14025;
  CQMXArquivoMFD() : CQMXFiltroArquivo(IDD) {}
};

}  // namespace qmx
