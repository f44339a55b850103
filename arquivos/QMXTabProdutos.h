#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the Tabela de Produtos file.
class CQMXTabProdutos : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14002;
  CQMXTabProdutos() : CQMXFiltroArquivo(IDD, "QMXTabProdutos") {}
};

}  // namespace qmx
