#pragma once

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the Meios de Pagamento report: a period, printed for the
// branch of the ECF connected to this computer.
class CQMXMeiosPagamento : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14008;
  static constexpr int IDC_DATA_INICIAL = 13009;
  static constexpr int IDC_DATA_FINAL = 13008;
  CQMXMeiosPagamento() : CQMXFiltroArquivo(IDD, "QMXMeiosPagamento") {}

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
};

}  // namespace qmx
