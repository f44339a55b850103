#pragma once

#include <cstdint>
#include <string>

namespace qmx::ui {

class CDialogo;

// Message-box flags and answers, with the window system's values.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;
constexpr unsigned MB_SYSTEMMODAL = 0x1000;
constexpr unsigned MB_TASKMODAL = 0x2000;

// Results of modal runs and boxes, and the ids of the standard buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The button a box answers with when nobody chooses: its default button.
int RespostaPadrao(unsigned flags);

// Whether an answer is one of the buttons that a box with these flags has.
bool RespostaValida(unsigned flags, int resposta);

// How far long work has gone, as a host shows it: the work's title, a
// text saying how far ("12,5 MB gravados"), and the amount done of the
// total (0 when the total is not known).
struct AndamentoTrabalho {
  std::string titulo;
  std::string texto;
  std::int64_t feito = 0;
  std::int64_t total = 0;
};

// What shows dialogs and message boxes to the operator. The library asks the
// process's host for every modal run, box and wait cursor.
class HostUI {
 public:
  virtual ~HostUI();
  // Builds the dialog (Cria), lets the operator work in it until it closes,
  // and returns its result; -1 when its template cannot be found.
  virtual int ExecutaModal(CDialogo& dialogo) = 0;
  virtual int MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) = 0;
  virtual void CursorEspera(bool ligado) = 0;
  // Long work reports how far it has gone, at least once a second while
  // it runs (CProgresso); false when the operator asked to stop it. The
  // last report is followed by FimProgresso. Unless a host says otherwise
  // nothing is shown and nothing is stopped.
  virtual bool Progresso(const AndamentoTrabalho& /*andamento*/) { return true; }
  virtual void FimProgresso() {}
  // Whether the operator holds Shift down now.
  virtual bool ShiftPressionado() const { return false; }
  // Opens the context help of a module (its two-letter key). Without a
  // help viewer nothing opens.
  virtual void AbreAjuda(const std::string& /*modulo*/) {}
  // The calling program's title, the caption of a box that has none of its
  // own. Unless a host says otherwise: the program's file name without its
  // extension.
  virtual std::string TituloPrograma() const;
};

// The process's host. Until one is set, a scripted host takes the script
// named by the environment variable QMX_ROTEIRO, or none: every box then
// gets its default answer and every dialog is cancelled.
HostUI& HostAtual();
// Sets the host and returns the one set before; nullptr goes back to the
// default one.
HostUI* DefineHost(HostUI* host);

// A message box through the process's host. Without a caption the box shows
// the calling program's title.
int CaixaMensagem(const std::string& texto, const std::string& titulo = {}, unsigned flags = MB_OK);

// The context help of a module through the process's host.
void AbreAjuda(const std::string& modulo);

// Whether the operator holds Shift down, as the process's host tells.
bool ShiftPressionado();

// Shows the wait cursor for the life of the object.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};

}  // namespace qmx::ui
