#include "frame/QMXSelFilialECFDlg.h"

#include "plataforma/mensagens/ZTMens.h"

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

// Without a company there is nothing to look up: both edits stay plain
// controls and OK will ask for a branch.
bool CQMXSelFilialECFDlg::OnInitDialog() {
  SetWindowText(m_pszTitulo ? m_pszTitulo : "");
  if (m_triplo.chaveEmpresa.empty()) return true;

  m_editFilial.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  m_editFilial.SubclassDlgItem(IDC_FILIAL, this);
  m_editFilial.SetLabel(IDC_NOME_FILIAL);
  // Here branch 0 is no choice at all, not "every branch".
  m_editFilial.SetFilialZeroComoTodas(false);
  m_editFilial.CriaLink();

  m_editEmissora.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  m_editEmissora.SubclassDlgItem(IDC_EMISSORA, this);
  m_editEmissora.SetLabel(IDC_NOME_EMISSORA);
  m_editEmissora.SetFilial(m_editFilial.GetFilial());
  m_editEmissora.CriaLink();
  return true;
}

void CQMXSelFilialECFDlg::OnKillFocus(int id) {
  if (id != IDC_FILIAL) return;
  const std::uint16_t filial = m_editFilial.GetFilial();
  m_editEmissora.SetFilial(filial);
  GetDlgItem(IDC_EMISSORA).EnableWindow(filial > 0);
}

// Both values are read before either is checked, so an attempt with an ECF
// but no branch leaves that ECF held for a Cancel that follows.
void CQMXSelFilialECFDlg::OnOK() {
  m_nFilialSelecionada = m_editFilial.GetFilial();
  m_nEcfSelecionado = m_editEmissora.GetEmissora();
  if (m_nFilialSelecionada == 0) {
    mensagens::ZTMensagem(280, "EC");
    return;
  }
  if (m_nEcfSelecionado == 0) {
    mensagens::ZTMensagem(146, "EC");
    return;
  }
  EndDialog(ui::IDOK);
}

}  // namespace qmx
