#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the Sintegra file of a branch and period.
class CQMXSintegra : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14028;
  CQMXSintegra() : CQMXFiltroArquivo(IDD) {}
};

}  // namespace qmx
