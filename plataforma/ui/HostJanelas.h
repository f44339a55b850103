#pragma once

#include <functional>
#include <memory>
#include <string>

#include "plataforma/ui/HostUI.h"

namespace qmx::ui {

// The Windows host: every dialog is a real dialog box built by the system
// from the library's own dialog resources (the templates of recursos/,
// compiled into the module), message boxes are the system's, the wait
// cursor is the system's. The dialog object stays the model: its controls'
// texts, checks, states and lists are copied into the real controls after
// each of its handlers ran, and what the operator types, clicks or selects
// goes to it as the scripted host's actions do: the focus as it moves
// between the controls (the control that loses it is told), help requests
// (F1), and the idle time after each of the operator's actions.
class HostJanelas : public HostUI {
 public:
  // `modulo` holds the dialog resources (an HINSTANCE); null: the module
  // this code is linked into.
  explicit HostJanelas(void* modulo = nullptr);
  ~HostJanelas() override;

  int ExecutaModal(CDialogo& dialogo) override;
  int MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) override;
  void CursorEspera(bool ligado) override;
  bool ShiftPressionado() const override;
  void AbreAjuda(const std::string& modulo) override;
  // Long work in a window of its own over the dialog (disabled meanwhile):
  // the work's title, its text, a bar (moving on its own when the total is
  // not known) and Cancel.
  bool Progresso(const AndamentoTrabalho& andamento) override;
  void FimProgresso() override;

  // Called once each dialog is on the screen (its window, an HWND), for
  // tests and tools that look at it; it may close the dialog.
  std::function<void(void* janela, CDialogo& dialogo)> aoMostrar;
  // The same for message boxes (the box's window) and the progress window.
  std::function<void(void* janela)> aoMostrarCaixa;
  std::function<void(void* janela)> aoMostrarProgresso;
  // Called with the module key of each help request. The help itself is
  // the maker's shared help access, outside this library: without a
  // receiver the request goes nowhere.
  std::function<void(const std::string& modulo)> aoAbrirAjuda;

  // The progress window's state (its windows and whether Cancel was
  // pressed), known only to the host's code.
  struct JanelaProgresso;

 private:
  void* m_modulo;
  std::unique_ptr<JanelaProgresso> m_progresso;
};

}  // namespace qmx::ui
