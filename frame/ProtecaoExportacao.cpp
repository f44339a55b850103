#include "frame/ProtecaoExportacao.h"

#include "plataforma/ui/HostUI.h"

namespace qmx {

void ReportaFalhaInterna(const char* exportacao, const std::string& detalhe) {
  try {
    ui::CaixaMensagem(std::string("Erro interno em ") + exportacao + ":\r\n" + detalhe, "QMXUTIL",
                      ui::MB_OK | ui::MB_ICONERROR);
  } catch (...) {
    // Nothing more can be done; the export still returns its failure result.
  }
}

}  // namespace qmx
