#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the Meios de Pagamento report.
class CQMXMeiosPagamento : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14008;
  CQMXMeiosPagamento() : CQMXFiltroArquivo(IDD) {}
};

}  // namespace qmx
