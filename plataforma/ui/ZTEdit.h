#pragma once

#include <string>

#include "plataforma/ui/Dialogo.h"

namespace qmx::ui {

// The maker's plain edit control: an edit of a dialog that the code reads,
// fills and limits. The limit applies to what the operator types.
class CZTEdit {
 public:
  void SubclassDlgItem(int idControle, CDialogo* dialogo);
  int Id() const { return m_id; }
  bool Ligado() const { return m_dialogo != nullptr; }

  void LimitText(int maximo);
  std::string GetWindowText() const;
  void SetWindowText(const std::string& texto);
  // Moves the focus to the control.
  void SetFocus();

 private:
  CDialogo* m_dialogo = nullptr;
  int m_id = 0;
};

// Binds the edit to the dialog's control as the dialog starts.
void DDX_Control(CDataExchange* pDX, int idControle, CZTEdit& edit);

}  // namespace qmx::ui
