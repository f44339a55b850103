#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the Venda do Período file.
class CQMXVendaPeriodo : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14030;
  CQMXVendaPeriodo() : CQMXFiltroArquivo(IDD, "QMXVendaPeriodo") {}
};

}  // namespace qmx
