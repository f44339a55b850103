#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// The table of technical production indices: this system does not deduct
// stock by such indices, so the dialog only tells the operator so and
// closes at once; no file is made.
class CQMXTabIndiceTecnicoProd : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14031;
  CQMXTabIndiceTecnicoProd() : CQMXFiltroArquivo(IDD, "QMXTabIndiceTecnicoProd") {}

  static const char* Aviso();

 protected:
  bool OnInitDialog() override;
};

}  // namespace qmx
