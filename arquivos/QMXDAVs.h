#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the DAV report and file.
class CQMXDAVs : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14009;
  CQMXDAVs() : CQMXFiltroArquivo(IDD, "QMXDAVs") {}
};

}  // namespace qmx
