#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "plataforma/ui/Controle.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/ModeloDialogo.h"

namespace qmx::ui {

// Notification codes handed to OnCommand.
constexpr int BN_CLICKED = 0;
constexpr int CBN_SELCHANGE = 1;
constexpr int LBN_SELCHANGE = 1;
constexpr int EN_CHANGE = 0x0300;

// Raised when code asks for a control that the dialog's template lacks.
class ControleInexistente : public std::logic_error {
 public:
  ControleInexistente(int idModelo, int idControle);
  int IdControle() const { return m_idControle; }

 private:
  int m_idControle;
};

class CDialogo;

// What a dialog's DoDataExchange receives: the dialog whose controls it
// binds to its members, and the direction (false: from the members to the
// controls, when the dialog starts).
struct CDataExchange {
  CDialogo* m_pDlgWnd = nullptr;
  bool m_bSaveAndValidate = false;
};

// Binds a member of the dialog to one of its controls; an id the template
// lacks throws ControleInexistente.
CControle& DDX_Control(CDataExchange* pDX, int idControle);

// Where the operator asked for help (F1): the control that had the focus.
struct HELPINFO {
  int iCtrlId = 0;
};

// A modal dialog built from a template of the current resources.
//
// Derived dialogs override the handlers; the host that runs the dialog
// calls them the way the window framework would: DoDataExchange and then
// OnInitDialog once the controls exist, OnOK/OnCancel for the standard buttons, OnCommand for the
// other buttons and for selection changes, OnKillFocus when a control loses
// the focus, OnIdle while the dialog waits for the operator.
class CDialogo {
 public:
  explicit CDialogo(int idModelo, CDialogo* pai = nullptr);
  virtual ~CDialogo();
  CDialogo(const CDialogo&) = delete;
  CDialogo& operator=(const CDialogo&) = delete;

  // Runs the dialog modally through the process's host. Returns the value
  // given to EndDialog, or -1 when the template cannot be found.
  int DoModal();
  void EndDialog(int resultado);

  int IdModelo() const { return m_idModelo; }
  CDialogo* Pai() const { return m_pai; }
  bool Aberto() const { return m_aberto; }
  int Resultado() const { return m_resultado; }

  void SetWindowText(const std::string& titulo) { m_titulo = titulo; }
  const std::string& GetWindowText() const { return m_titulo; }

  // Controls by id; an id missing from the template throws ControleInexistente.
  CControle& GetDlgItem(int id);
  const CControle& GetDlgItem(int id) const;
  bool TemControle(int id) const { return m_controles.count(id) != 0; }
  std::vector<int> IdsControles() const;
  std::string GetDlgItemText(int id) const { return GetDlgItem(id).GetWindowText(); }
  void SetDlgItemText(int id, const std::string& texto) { GetDlgItem(id).SetWindowText(texto); }
  int IsDlgButtonChecked(int id) const { return GetDlgItem(id).GetCheck(); }
  void CheckDlgButton(int id, int estado) { GetDlgItem(id).SetCheck(estado); }
  // Checks one button of the range first..last and clears the others.
  void CheckRadioButton(int primeiro, int ultimo, int marcado);
  // The checked button of the range, or 0.
  int GetCheckedRadioButton(int primeiro, int ultimo) const;

  // Focus. Moving the focus away from a control calls OnKillFocus for it.
  void GotoDlgCtrl(int id);
  int FocoAtual() const { return m_foco; }

  // What the host does for the operator. Clicking a button moves the focus
  // to it, updates automatic check boxes and radio buttons, and dispatches:
  // IDOK to OnOK, IDCANCEL to OnCancel, anything else to OnCommand.
  void Clica(int id);
  void SelecionaItem(int id, int indice);
  // Selects exactly these rows of a list that takes several (the operator's
  // Ctrl+click), then notifies the selection change.
  void SelecionaItens(int id, const std::vector<int>& indices);
  void Digita(int id, const std::string& texto);
  void Fecha() { OnClose(); }
  // The Tab key: the focus goes to the next enabled control with a tab stop,
  // in template order, and the control it leaves loses it.
  void Tabula();

  // Called by the host to build the controls and run OnInitDialog.
  bool Cria();

 protected:
  virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
  virtual bool OnInitDialog() { return true; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  virtual void OnClose() { OnCancel(); }
  virtual bool OnCommand(int /*id*/, int /*notificacao*/) { return false; }
  virtual void OnKillFocus(int /*id*/) {}

 public:
  virtual void OnIdle() {}
  // Help requests (F1). The default swallows them.
  virtual void OnHelp() {}

 private:
  void MarcaRadioNoGrupo(int id);
  // Runs a handler; work in it that the operator stopped cancels the dialog.
  template <class Handler>
  void Despacha(Handler&& handler);

  int m_idModelo;
  CDialogo* m_pai;
  std::string m_titulo;
  std::map<int, std::unique_ptr<CControle>> m_controles;
  std::vector<int> m_ordem;  // template order, for radio groups
  int m_foco = 0;
  bool m_aberto = false;
  int m_resultado = 0;
};

}  // namespace qmx::ui
