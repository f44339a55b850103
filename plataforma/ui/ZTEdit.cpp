#include "plataforma/ui/ZTEdit.h"

namespace qmx::ui {

void CZTEdit::SubclassDlgItem(int idControle, CDialogo* dialogo) {
  dialogo->GetDlgItem(idControle);  // an id the template lacks fails here
  m_dialogo = dialogo;
  m_id = idControle;
}

void CZTEdit::LimitText(int maximo) {
  if (m_dialogo) m_dialogo->GetDlgItem(m_id).SetLimitText(maximo);
}

std::string CZTEdit::GetWindowText() const { return m_dialogo ? m_dialogo->GetDlgItemText(m_id) : std::string(); }

void CZTEdit::SetWindowText(const std::string& texto) {
  if (m_dialogo) m_dialogo->SetDlgItemText(m_id, texto);
}

void CZTEdit::SetFocus() {
  if (m_dialogo) m_dialogo->GotoDlgCtrl(m_id);
}

void DDX_Control(CDataExchange* pDX, int idControle, CZTEdit& edit) {
  edit.SubclassDlgItem(idControle, pDX->m_pDlgWnd);
}

}  // namespace qmx::ui
