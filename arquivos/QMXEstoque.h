#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the Estoque file.
class CQMXEstoque : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14023;
  CQMXEstoque() : CQMXFiltroArquivo(IDD, "QMXEstoque") {}
};

}  // namespace qmx
