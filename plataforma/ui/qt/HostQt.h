#pragma once

#include <functional>
#include <memory>
#include <string>

#include "plataforma/ui/HostUI.h"

class QDialog;
class QMessageBox;
class QProgressDialog;

namespace qmx::ui {

// The Linux host on Qt 6 Widgets, in a library of its own so that the core
// library never depends on Qt. Every dialog is a real window built from the
// same templates the Windows host builds its dialog boxes from (positions
// and sizes in dialog units, turned into pixels with the dialog font's
// metrics), and the dialog object stays the model, as with the Windows
// host: after each of its handlers the windows show its state, and what
// the operator types, clicks, selects, where the focus goes, F1, Enter,
// Esc and the window's close go to it as the scripted host's steps do,
// each followed by the dialog's idle time. Message boxes, the wait cursor
// and progress windows with Cancel are Qt's own.
class __attribute__((visibility("default"))) HostQt : public HostUI {
 public:
  HostQt();
  ~HostQt() override;

  int ExecutaModal(CDialogo& dialogo) override;
  int MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) override;
  void CursorEspera(bool ligado) override;
  bool ShiftPressionado() const override;
  void AbreAjuda(const std::string& modulo) override;
  bool Progresso(const AndamentoTrabalho& andamento) override;
  void FimProgresso() override;

  // Called once each window is on the screen, for tests and tools that
  // look at it or drive it; a dialog may be closed from there.
  std::function<void(QDialog& janela, CDialogo& dialogo)> aoMostrar;
  std::function<void(QMessageBox& caixa)> aoMostrarCaixa;
  std::function<void(QProgressDialog& progresso)> aoMostrarProgresso;
  // Called with the module key of each help request (F1 in a dialog that
  // asks for help); without a receiver the request goes nowhere.
  std::function<void(const std::string& modulo)> aoAbrirAjuda;

 private:
  void Anota(const std::string& linha) const;

  std::unique_ptr<QProgressDialog> m_progresso;
  int m_cursorEspera = 0;
};

// Makes a Qt host the process's host. A program with a QApplication of its
// own calls it once that application exists; a program without one (the
// command line, a program that set QMX_JANELAS=qt) gets one made here,
// which needs a display (or QT_QPA_PLATFORM, such as "offscreen"). False,
// and nothing changed, when Qt cannot start.
__attribute__((visibility("default"))) bool AtivaJanelasQt();

}  // namespace qmx::ui

// The same for programs that load the Qt library by name: 1 when the host
// is on, 0 when Qt cannot start.
extern "C" __attribute__((visibility("default"))) int QMX_AtivaJanelasQt(void);
