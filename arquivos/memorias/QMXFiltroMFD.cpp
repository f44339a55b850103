#include "arquivos/memorias/QMXFiltroMFD.h"

#include "plataforma/ui/HostUI.h"

namespace qmx {
namespace {

constexpr int kDigitosCOO = 6;

}  // namespace

void CQMXFiltroMFD::PreparaIntervalo(CVerificacaoPeriodo::Regras regras, int tipoData) {
  m_edCOOInicial.SubclassDlgItem(m_controles.cooInicial, this, kDigitosCOO);
  m_edCOOFinal.SubclassDlgItem(m_controles.cooFinal, this, kDigitosCOO);
  m_edCOOInicial.SetValor(1);
  m_edCOOFinal.SetValor(1);
  CheckDlgButton(m_controles.porPeriodo, ui::BST_CHECKED);
  Habilita(m_controles.porPeriodo);
  PreparaPeriodo(m_controles.dataInicial, m_controles.dataFinal, InicioPeriodo::Hoje, regras, tipoData);
}

void CQMXFiltroMFD::Habilita(int idEscolhido) {
  const bool periodo = idEscolhido == m_controles.porPeriodo;
  const bool coo = idEscolhido == m_controles.porCOO;
  GetDlgItem(m_controles.dataInicial).EnableWindow(periodo);
  GetDlgItem(m_controles.dataFinal).EnableWindow(periodo);
  GetDlgItem(m_controles.cooInicial).EnableWindow(coo);
  GetDlgItem(m_controles.cooFinal).EnableWindow(coo);
}

void CQMXFiltroMFD::FalhaMemoriaFiscal() {
  ui::CaixaMensagem("Não foi possível acessar a Memória Fiscal da Impressora", "Torvo ECF",
                    ui::MB_OK | ui::MB_ICONEXCLAMATION);
  EndDialog(ui::IDCANCEL);
}

bool CQMXFiltroMFD::OnCommand(int id, int notificacao) {
  if (notificacao == ui::BN_CLICKED && TemControle(id) && GetDlgItem(id).EhRadio()) {
    Habilita(id);
    return true;
  }
  if (notificacao == ui::EN_CHANGE && (id == m_controles.cooInicial || id == m_controles.cooFinal)) {
    (id == m_controles.cooInicial ? m_edCOOInicial : m_edCOOFinal).AoMudar();
    return true;
  }
  return false;
}

}  // namespace qmx
