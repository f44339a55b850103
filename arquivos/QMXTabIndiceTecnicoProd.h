#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the notice about technical production indices.
class CQMXTabIndiceTecnicoProd : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14031;
  CQMXTabIndiceTecnicoProd() : CQMXFiltroArquivo(IDD) {}
};

}  // namespace qmx
