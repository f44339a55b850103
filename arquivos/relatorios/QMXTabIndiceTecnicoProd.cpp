#include "arquivos/relatorios/QMXTabIndiceTecnicoProd.h"

#include <cstdio>

namespace qmx {

const char* CQMXTabIndiceTecnicoProd::Aviso() {
  static const std::string aviso = [] {
    char texto[256];
    std::snprintf(texto, sizeof texto, "%s\r\n%s\r\n%s", "Este PAF-ECF não executa funções de baixa de estoque ",
                  "com base em índices técnicos de produção, não podendo ",
                  "ser utilizado por estabelecimento que necessite deste recurso");
    return std::string(texto);
  }();
  return aviso.c_str();
}

bool CQMXTabIndiceTecnicoProd::OnInitDialog() {
  ui::CaixaMensagem(Aviso(), "Torvo ECF", ui::MB_OK | ui::MB_ICONINFORMATION | ui::MB_SYSTEMMODAL);
  EndDialog(ui::IDCANCEL);
  return true;
}

}  // namespace qmx
