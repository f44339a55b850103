#include "frame/QMXSelFilialECFDlg.h"

namespace qmx {

bool CQMXSelFilialECFDlg::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                     std::int32_t contexto) {
  m_triplo = {chaveEmpresa, usuario, contexto};
  return true;
}

// The branch from the context only passes through: the dialog overwrites it
// with the operator's choice, so both selections start at 0.
bool CQMXSelFilialECFDlg::Inicializa(std::uint16_t filialSelecao, std::uint8_t flagSelecao,
                                     const char* titulo) {
  m_nFilialSelecionada = 0;
  static_cast<void>(filialSelecao);
  m_nFlagSelecao = flagSelecao;
  m_pszTitulo = titulo;
  return true;
}

bool CQMXSelFilialECFDlg::OnInitDialog() {
  SetWindowText(m_pszTitulo ? m_pszTitulo : "");
  return true;
}

}  // namespace qmx
