#include "plataforma/ui/Dialogo.h"

#include "plataforma/processo/Andamento.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/ModuloRecursos.h"

namespace qmx::ui {

ControleInexistente::ControleInexistente(int idModelo, int idControle)
    : std::logic_error("o modelo " + std::to_string(idModelo) + " não tem o controle " +
                       std::to_string(idControle)),
      m_idControle(idControle) {}

CControle& DDX_Control(CDataExchange* pDX, int idControle) { return pDX->m_pDlgWnd->GetDlgItem(idControle); }

CDialogo::CDialogo(int idModelo, CDialogo* pai) : m_idModelo(idModelo), m_pai(pai) {}

CDialogo::~CDialogo() = default;

template <class Handler>
void CDialogo::Despacha(Handler&& handler) {
  try {
    handler();
  } catch (const processo::CTrabalhoCancelado&) {
    // The operator stopped the dialog's work from its progress window:
    // the work left nothing behind, and the dialog ends as if cancelled.
    EndDialog(IDCANCEL);
  }
}

bool CDialogo::Cria() {
  const ModeloDialogo* modelo = ProcuraModelo(m_idModelo);
  if (!modelo) return false;
  m_controles.clear();
  m_ordem.clear();
  m_titulo = modelo->titulo;
  for (const auto& controleModelo : modelo->controles) {
    if (controleModelo.id == -1) continue;
    m_controles.emplace(controleModelo.id, std::make_unique<CControle>(controleModelo));
    m_ordem.push_back(controleModelo.id);
  }
  m_foco = 0;
  m_aberto = true;
  m_resultado = 0;
  CDataExchange troca{this, false};
  DoDataExchange(&troca);
  // A dialog given its whole filter starts its work at once.
  Despacha([&] { OnInitDialog(); });
  return true;
}


int CDialogo::DoModal() { return HostAtual().ExecutaModal(*this); }

void CDialogo::EndDialog(int resultado) {
  m_resultado = resultado;
  m_aberto = false;
}

CControle& CDialogo::GetDlgItem(int id) {
  const auto it = m_controles.find(id);
  if (it == m_controles.end()) throw ControleInexistente(m_idModelo, id);
  return *it->second;
}

const CControle& CDialogo::GetDlgItem(int id) const {
  const auto it = m_controles.find(id);
  if (it == m_controles.end()) throw ControleInexistente(m_idModelo, id);
  return *it->second;
}

std::vector<int> CDialogo::IdsControles() const { return m_ordem; }

void CDialogo::CheckRadioButton(int primeiro, int ultimo, int marcado) {
  for (int id = primeiro; id <= ultimo; ++id)
    if (TemControle(id)) GetDlgItem(id).SetCheck(id == marcado ? BST_CHECKED : BST_UNCHECKED);
}

int CDialogo::GetCheckedRadioButton(int primeiro, int ultimo) const {
  for (int id = primeiro; id <= ultimo; ++id)
    if (TemControle(id) && GetDlgItem(id).GetCheck() == BST_CHECKED) return id;
  return 0;
}

void CDialogo::GotoDlgCtrl(int id) {
  GetDlgItem(id);  // refuses unknown ids before anything changes
  const int anterior = m_foco;
  if (anterior == id) return;
  m_foco = id;
  if (anterior != 0) OnKillFocus(anterior);
}

// An automatic radio button clears the other buttons of its group: the run
// of radio buttons around it in template order, bounded by WS_GROUP.
void CDialogo::MarcaRadioNoGrupo(int id) {
  size_t pos = 0;
  while (m_ordem[pos] != id) ++pos;
  size_t inicio = pos;
  while (inicio > 0 && !GetDlgItem(m_ordem[inicio]).ComecaGrupo() &&
         GetDlgItem(m_ordem[inicio - 1]).EhRadio())
    --inicio;
  for (size_t i = inicio; i < m_ordem.size(); ++i) {
    CControle& controle = GetDlgItem(m_ordem[i]);
    if (i > inicio && (controle.ComecaGrupo() || !controle.EhRadio())) break;
    controle.SetCheck(m_ordem[i] == id ? BST_CHECKED : BST_UNCHECKED);
  }
}

void CDialogo::Clica(int id) {
  // Enter and Esc reach OnOK and OnCancel even where the template has no
  // such button.
  if (!TemControle(id) && (id == IDOK || id == IDCANCEL)) {
    Despacha([&] { id == IDOK ? OnOK() : OnCancel(); });
    return;
  }
  CControle& controle = GetDlgItem(id);
  GotoDlgCtrl(id);
  if (!m_aberto) return;  // a kill-focus handler may have closed the dialog
  if (controle.TemEstilo("BS_AUTORADIOBUTTON")) MarcaRadioNoGrupo(id);
  else if (controle.TemEstilo("BS_AUTOCHECKBOX"))
    controle.SetCheck(controle.GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  Despacha([&] {
    if (id == IDOK) OnOK();
    else if (id == IDCANCEL) OnCancel();
    else OnCommand(id, BN_CLICKED);
  });
}

void CDialogo::SelecionaItem(int id, int indice) {
  CControle& controle = GetDlgItem(id);
  GotoDlgCtrl(id);
  if (!m_aberto) return;
  controle.SetCurSel(indice);
  OnCommand(id, controle.Classe() == "ComboBox" ? CBN_SELCHANGE : LBN_SELCHANGE);
}

void CDialogo::SelecionaItens(int id, const std::vector<int>& indices) {
  CControle& controle = GetDlgItem(id);
  GotoDlgCtrl(id);
  if (!m_aberto) return;
  controle.SetCurSel(-1);
  for (int indice : indices) controle.SetSel(indice, true);
  OnCommand(id, LBN_SELCHANGE);
}

void CDialogo::Tabula() {
  if (m_ordem.empty()) return;
  std::size_t atual = 0;
  while (atual < m_ordem.size() && m_ordem[atual] != m_foco) ++atual;
  for (std::size_t passo = 1; passo <= m_ordem.size(); ++passo) {
    const int id = m_ordem[(atual + passo) % m_ordem.size()];
    const CControle& controle = GetDlgItem(id);
    if (controle.TemEstilo("WS_TABSTOP") && controle.IsWindowEnabled() && controle.IsWindowVisible()) {
      GotoDlgCtrl(id);
      return;
    }
  }
}

void CDialogo::Digita(int id, const std::string& texto) {
  CControle& controle = GetDlgItem(id);
  GotoDlgCtrl(id);
  if (!m_aberto) return;
  // An edit with a limit refuses the characters typed beyond it.
  const int limite = controle.Classe() == "Edit" ? controle.GetLimitText() : 0;
  controle.SetWindowText(limite > 0 && texto.size() > static_cast<std::size_t>(limite)
                             ? texto.substr(0, static_cast<std::size_t>(limite))
                             : texto);
  OnCommand(id, EN_CHANGE);
}

}  // namespace qmx::ui
