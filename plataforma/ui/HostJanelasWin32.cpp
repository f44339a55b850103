#include "plataforma/ui/HostJanelas.h"

#include "plataforma/texto/TextoLargo.h"

#include "plataforma/ui/Controle.h"
#include "plataforma/ui/Dialogo.h"

// After the library's headers: the system's macros carry the same names and
// values as their constants.
#include <windows.h>
#include <commctrl.h>
#undef GetWindowText
#undef SetWindowText
#undef GetDlgItemText

#include <algorithm>
#include <vector>

namespace qmx::ui {

using texto::Largo;
using texto::Estreito;

namespace {

std::string TextoDe(HWND janela) {
  std::wstring texto(static_cast<std::size_t>(GetWindowTextLengthW(janela)) + 1, L'\0');
  texto.resize(static_cast<std::size_t>(GetWindowTextW(janela, texto.data(), static_cast<int>(texto.size()))));
  return Estreito(texto);
}

HMODULE ModuloDesteCodigo() {
  HMODULE modulo = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuloDesteCodigo), &modulo);
  return modulo;
}

constexpr UINT WM_QMX_MOSTRADO = WM_APP + 1;
constexpr UINT WM_QMX_FOCO = WM_APP + 2;

struct Execucao {
  CDialogo* dialogo;
  HostJanelas* host;
  bool copiando = false;  // our own writes into the controls notify too
};

// The model's state into the real controls.
void Copia(HWND janela, Execucao& execucao) {
  CDialogo& dialogo = *execucao.dialogo;
  execucao.copiando = true;
  if (TextoDe(janela) != dialogo.GetWindowText()) SetWindowTextW(janela, Largo(dialogo.GetWindowText()).c_str());
  for (int id : dialogo.IdsControles()) {
    HWND controle = GetDlgItem(janela, id);
    if (!controle) continue;
    const CControle& modelo = dialogo.GetDlgItem(id);
    if (modelo.Classe() == "ComboBox" || modelo.Classe() == "ListBox") {
      const bool combo = modelo.Classe() == "ComboBox";
      SendMessageW(controle, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
      for (int i = 0; i < modelo.GetCount(); ++i)
        SendMessageW(controle, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Largo(modelo.GetText(i)).c_str()));
      SendMessageW(controle, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(modelo.GetCurSel()), 0);
    } else if (modelo.Classe() == "SysListView32") {
      if (SendMessageW(controle, LVM_GETITEMCOUNT, 0, 0) == 0 && modelo.GetCount() == 0) {
        // nothing to show yet; the columns below are still set
      }
      HWND cabecalho = reinterpret_cast<HWND>(SendMessageW(controle, LVM_GETHEADER, 0, 0));
      const int colunas = cabecalho ? static_cast<int>(SendMessageW(cabecalho, HDM_GETITEMCOUNT, 0, 0)) : 0;
      for (int c = colunas; c < modelo.GetColumnCount(); ++c) {
        std::wstring titulo = Largo(modelo.GetColumnText(c));
        LVCOLUMNW coluna{};
        coluna.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        coluna.fmt = modelo.GetColumnFormat(c);
        coluna.cx = modelo.GetColumnWidth(c) < 0 ? 80 : modelo.GetColumnWidth(c);
        coluna.pszText = titulo.data();
        SendMessageW(controle, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&coluna));
      }
      SendMessageW(controle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, modelo.GetExtendedStyle());
      SendMessageW(controle, LVM_DELETEALLITEMS, 0, 0);
      for (int i = 0; i < modelo.GetCount(); ++i) {
        for (int c = 0; c < std::max(1, modelo.GetColumnCount()); ++c) {
          std::wstring texto = Largo(modelo.GetItemText(i, c));
          LVITEMW item{};
          item.mask = LVIF_TEXT;
          item.iItem = i;
          item.iSubItem = c;
          item.pszText = texto.data();
          SendMessageW(controle, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item));
        }
      }
    } else if (modelo.EhRadio() || modelo.EhCaixaMarcacao()) {
      SendMessageW(controle, BM_SETCHECK, static_cast<WPARAM>(modelo.GetCheck()), 0);
    } else if (TextoDe(controle) != modelo.GetWindowText()) {
      SetWindowTextW(controle, Largo(modelo.GetWindowText()).c_str());
    }
    if (modelo.Classe() == "Edit") SendMessageW(controle, EM_LIMITTEXT, static_cast<WPARAM>(modelo.GetLimitText()), 0);
    EnableWindow(controle, modelo.IsWindowEnabled());
    ShowWindow(controle, modelo.IsWindowVisible() ? SW_SHOW : SW_HIDE);
  }
  execucao.copiando = false;
}

// The dialog's own control that holds `janela` (a combo box's edit is held
// by its combo box), or null.
HWND ControleDoDialogo(HWND dialogo, HWND janela) {
  while (janela && GetParent(janela) != dialogo) janela = GetParent(janela);
  return janela;
}

// After a handler: the dialog has had its idle time (the system's modal
// loop would give it now, with the queue empty), the controls show the
// model and the focus is where the model put it; a dialog the model closed
// ends.
void Conclui(HWND janela, Execucao& execucao) {
  CDialogo& dialogo = *execucao.dialogo;
  if (dialogo.Aberto()) dialogo.OnIdle();
  if (!dialogo.Aberto()) {
    EndDialog(janela, dialogo.Resultado());
    return;
  }
  Copia(janela, execucao);
  // Later: the focus may be moving right now (a handler of a control that
  // lost it sent it back).
  PostMessageW(janela, WM_QMX_FOCO, 0, 0);
}

// The focus goes where the model has it, while it is in this dialog: a
// message box or another window that holds it keeps it.
void SincronizaFoco(HWND janela, const CDialogo& dialogo) {
  HWND foco = dialogo.FocoAtual() != 0 ? GetDlgItem(janela, dialogo.FocoAtual()) : nullptr;
  HWND atual = GetFocus();
  HWND controle = ControleDoDialogo(janela, atual);
  if (foco && (atual == janela || controle) && controle != foco)
    SendMessageW(janela, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(foco), TRUE);
}

enum class Foco { nenhum, ganhou, perdeu };

// What a control's notification says of its focus. The codes depend on the
// class (a combo box's "lost" is a list box's "got").
Foco MudancaDeFoco(const std::string& classe, int notificacao) {
  int ganhou = -1, perdeu = -1;
  if (classe == "Edit") {
    ganhou = EN_SETFOCUS;
    perdeu = EN_KILLFOCUS;
  } else if (classe == "ComboBox") {
    ganhou = CBN_SETFOCUS;
    perdeu = CBN_KILLFOCUS;
  } else if (classe == "ListBox") {
    ganhou = LBN_SETFOCUS;
    perdeu = LBN_KILLFOCUS;
  } else if (classe == "Button") {
    ganhou = BN_SETFOCUS;
    perdeu = BN_KILLFOCUS;
  }
  if (notificacao == ganhou) return Foco::ganhou;
  if (notificacao == perdeu) return Foco::perdeu;
  return Foco::nenhum;
}

// The focus moved: the control that got it becomes the model's focus (the
// one that had it is told it lost it). A control that lost it hands it to
// the control that holds it now, which may be one that says nothing when it
// gets it (a push button reached with Tab); focus gone out of the dialog
// (to a message box) changes nothing.
void MudaFoco(HWND janela, CDialogo& dialogo, int id, Foco foco) {
  int destino = id;
  if (foco == Foco::perdeu) {
    HWND atual = ControleDoDialogo(janela, GetFocus());
    destino = atual ? GetDlgCtrlID(atual) : 0;
    if (destino == id || !dialogo.TemControle(destino)) return;
  }
  dialogo.GotoDlgCtrl(destino);
}

INT_PTR CALLBACK ProcedimentoDialogo(HWND janela, UINT mensagem, WPARAM wParam, LPARAM lParam) {
  auto* execucao = reinterpret_cast<Execucao*>(GetWindowLongPtrW(janela, DWLP_USER));
  switch (mensagem) {
    case WM_INITDIALOG: {
      execucao = reinterpret_cast<Execucao*>(lParam);
      SetWindowLongPtrW(janela, DWLP_USER, reinterpret_cast<LONG_PTR>(execucao));
      if (!execucao->dialogo->Cria()) {
        EndDialog(janela, -1);
        return TRUE;
      }
      Conclui(janela, *execucao);
      if (!execucao->dialogo->Aberto()) return TRUE;
      // Once the box is on the screen and has drawn itself.
      if (execucao->host->aoMostrar) SetTimer(janela, WM_QMX_MOSTRADO, 300, nullptr);
      // The control the dialog chose gets the focus; without a choice the
      // system gives it to the first control that takes it.
      if (HWND foco = execucao->dialogo->FocoAtual() != 0 ? GetDlgItem(janela, execucao->dialogo->FocoAtual())
                                                          : nullptr) {
        SetFocus(foco);
        return FALSE;
      }
      return TRUE;
    }
    case WM_TIMER:
      if (wParam != WM_QMX_MOSTRADO) return FALSE;
      KillTimer(janela, WM_QMX_MOSTRADO);
      if (execucao && execucao->host->aoMostrar) {
        execucao->host->aoMostrar(janela, *execucao->dialogo);
        if (execucao->dialogo->Aberto()) Copia(janela, *execucao);
        else EndDialog(janela, execucao->dialogo->Resultado());
      }
      return TRUE;
    case WM_COMMAND: {
      if (!execucao || execucao->copiando) return FALSE;
      const int id = LOWORD(wParam);
      const int notificacao = HIWORD(wParam);
      CDialogo& dialogo = *execucao->dialogo;
      const bool conhecido = dialogo.TemControle(id);
      const Foco foco = conhecido ? MudancaDeFoco(dialogo.GetDlgItem(id).Classe(), notificacao) : Foco::nenhum;
      if (foco != Foco::nenhum) {
        MudaFoco(janela, dialogo, id, foco);
      } else if (notificacao == EN_CHANGE && conhecido) {
        const std::string texto = TextoDe(reinterpret_cast<HWND>(lParam));
        if (texto != dialogo.GetDlgItemText(id)) dialogo.Digita(id, texto);
      } else if ((notificacao == CBN_SELCHANGE || notificacao == LBN_SELCHANGE) && conhecido &&
                 (dialogo.GetDlgItem(id).Classe() == "ComboBox" || dialogo.GetDlgItem(id).Classe() == "ListBox")) {
        const bool combo = dialogo.GetDlgItem(id).Classe() == "ComboBox";
        const auto indice = SendMessageW(reinterpret_cast<HWND>(lParam), combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
        dialogo.SelecionaItem(id, static_cast<int>(indice));
      } else if (notificacao == BN_CLICKED && (conhecido || id == IDOK || id == IDCANCEL)) {
        dialogo.Clica(id);
      } else {
        return FALSE;
      }
      Conclui(janela, *execucao);
      return TRUE;
    }
    case WM_QMX_FOCO:
      if (execucao && execucao->dialogo->Aberto()) SincronizaFoco(janela, *execucao->dialogo);
      return TRUE;
    case WM_HELP:  // F1
      if (!execucao) return FALSE;
      execucao->dialogo->OnHelp();
      Conclui(janela, *execucao);
      return TRUE;
    case WM_CLOSE:
      if (!execucao) return FALSE;
      execucao->dialogo->Fecha();
      Conclui(janela, *execucao);
      return TRUE;
    default:
      return FALSE;
  }
}

// Message boxes have no procedure of ours: a CBT hook sees the box's
// window as it is made.
thread_local HostJanelas* t_hostCaixa = nullptr;
thread_local HHOOK t_gancho = nullptr;

VOID CALLBACK CaixaMostrada(HWND caixa, UINT, UINT_PTR temporizador, DWORD) {
  KillTimer(caixa, temporizador);
  if (t_hostCaixa && t_hostCaixa->aoMostrarCaixa) t_hostCaixa->aoMostrarCaixa(caixa);
}

LRESULT CALLBACK GanchoCaixa(int codigo, WPARAM wParam, LPARAM lParam) {
  if (codigo == HCBT_ACTIVATE && t_hostCaixa && t_hostCaixa->aoMostrarCaixa) {
    HWND janela = reinterpret_cast<HWND>(wParam);
    wchar_t classe[16] = {};
    GetClassNameW(janela, classe, 16);
    if (std::wstring(classe) == L"#32770") {
      // Once, after the box has drawn itself.
      SetTimer(janela, 1, 300, CaixaMostrada);
    }
  }
  return CallNextHookEx(t_gancho, codigo, wParam, lParam);
}

}  // namespace

// The progress window, made without a template: a text, a bar and Cancel.
struct HostJanelas::JanelaProgresso {
  HWND janela = nullptr, texto = nullptr, barra = nullptr, dono = nullptr;
  bool cancelado = false;
  bool indeterminada = false;
};

namespace {

constexpr wchar_t kClasseProgresso[] = L"QMXProgresso";

LRESULT CALLBACK ProcedimentoProgresso(HWND janela, UINT mensagem, WPARAM wParam, LPARAM lParam) {
  auto* progresso = reinterpret_cast<HostJanelas::JanelaProgresso*>(GetWindowLongPtrW(janela, GWLP_USERDATA));
  // Cancel, Esc and the close box all ask the work to stop; the window
  // goes when the work ends.
  if (progresso && ((mensagem == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || mensagem == WM_CLOSE)) {
    progresso->cancelado = true;
    return 0;
  }
  return DefWindowProcW(janela, mensagem, wParam, lParam);
}

}  // namespace

// Made by the DLL's entry point too: nothing here may load a library.
HostJanelas::HostJanelas(void* modulo) : m_modulo(modulo ? modulo : ModuloDesteCodigo()) {}

HostJanelas::~HostJanelas() { FimProgresso(); }

bool HostJanelas::Progresso(const AndamentoTrabalho& andamento) {
  bool novo = false;
  if (!m_progresso) {
    static const bool registrada = [this] {
      INITCOMMONCONTROLSEX controles{sizeof controles, ICC_PROGRESS_CLASS};
      InitCommonControlsEx(&controles);
      WNDCLASSEXW classe{};
      classe.cbSize = sizeof classe;
      classe.lpfnWndProc = ProcedimentoProgresso;
      classe.hInstance = static_cast<HINSTANCE>(m_modulo);
      classe.hCursor = LoadCursorA(nullptr, IDC_ARROW);
      classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      classe.lpszClassName = kClasseProgresso;
      return RegisterClassExW(&classe) != 0;
    }();
    (void)registrada;
    auto progresso = std::make_unique<JanelaProgresso>();
    const auto instancia = static_cast<HINSTANCE>(m_modulo);
    progresso->dono = GetActiveWindow();
    progresso->janela = CreateWindowExW(WS_EX_DLGMODALFRAME, kClasseProgresso, Largo(andamento.titulo).c_str(),
                                        WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 390, 140,
                                        progresso->dono, nullptr, instancia, nullptr);
    if (!progresso->janela) return true;  // without a window the work goes on, unseen
    SetWindowLongPtrW(progresso->janela, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(progresso.get()));
    const auto fonte = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    progresso->texto = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 12, 12, 350, 18,
                                       progresso->janela, nullptr, instancia, nullptr);
    progresso->barra = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 12, 36, 350, 18,
                                       progresso->janela, nullptr, instancia, nullptr);
    HWND botao = CreateWindowExW(0, L"BUTTON", L"Cancelar", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                 282, 66, 80, 24, progresso->janela, reinterpret_cast<HMENU>(IDCANCEL), instancia,
                                 nullptr);
    for (HWND filho : {progresso->texto, botao}) SendMessageW(filho, WM_SETFONT, fonte, TRUE);
    SendMessageW(progresso->barra, PBM_SETRANGE32, 0, 1000);
    // The dialog that runs the work waits under it, as under a modal box.
    if (progresso->dono) EnableWindow(progresso->dono, FALSE);
    ShowWindow(progresso->janela, SW_SHOW);
    m_progresso = std::move(progresso);
    novo = true;
  }
  JanelaProgresso& p = *m_progresso;
  if (TextoDe(p.janela) != andamento.titulo) SetWindowTextW(p.janela, Largo(andamento.titulo).c_str());
  SetWindowTextW(p.texto, Largo(andamento.texto).c_str());
  const bool indeterminada = andamento.total <= 0;
  if (indeterminada != p.indeterminada) {
    // With no total the bar moves on its own.
    const LONG_PTR estilo = GetWindowLongPtrW(p.barra, GWL_STYLE);
    SetWindowLongPtrW(p.barra, GWL_STYLE, indeterminada ? (estilo | PBS_MARQUEE) : (estilo & ~PBS_MARQUEE));
    SendMessageW(p.barra, PBM_SETMARQUEE, indeterminada ? TRUE : FALSE, 30);
    p.indeterminada = indeterminada;
  }
  if (!indeterminada)
    SendMessageW(p.barra, PBM_SETPOS,
                 static_cast<WPARAM>(std::min(andamento.feito, andamento.total) * 1000 / andamento.total), 0);
  if (novo) {
    UpdateWindow(p.janela);
    if (aoMostrarProgresso) aoMostrarProgresso(p.janela);
  }
  // What the operator did meanwhile: Cancel, a move of the window.
  MSG mensagem;
  while (PeekMessageW(&mensagem, nullptr, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageW(p.janela, &mensagem)) continue;
    TranslateMessage(&mensagem);
    DispatchMessageW(&mensagem);
  }
  return !p.cancelado;
}

void HostJanelas::FimProgresso() {
  if (!m_progresso) return;
  if (m_progresso->dono) EnableWindow(m_progresso->dono, TRUE);
  if (m_progresso->janela) DestroyWindow(m_progresso->janela);
  m_progresso.reset();
}

int HostJanelas::ExecutaModal(CDialogo& dialogo) {
  static const bool registrados = [] {
    INITCOMMONCONTROLSEX controles{sizeof controles, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&controles) != FALSE;
  }();
  (void)registrados;
  Execucao execucao{&dialogo, this};
  const INT_PTR resultado =
      DialogBoxParamW(static_cast<HINSTANCE>(m_modulo), MAKEINTRESOURCEW(dialogo.IdModelo()), GetActiveWindow(),
                      ProcedimentoDialogo, reinterpret_cast<LPARAM>(&execucao));
  return static_cast<int>(resultado);
}

int HostJanelas::MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) {
  HostJanelas* anterior = t_hostCaixa;
  t_hostCaixa = this;
  HHOOK gancho = aoMostrarCaixa ? SetWindowsHookExW(WH_CBT, GanchoCaixa, nullptr, GetCurrentThreadId()) : nullptr;
  HHOOK ganchoAnterior = t_gancho;
  t_gancho = gancho;
  const int resposta = MessageBoxW(GetActiveWindow(), Largo(texto).c_str(), Largo(titulo).c_str(), flags);
  if (gancho) UnhookWindowsHookEx(gancho);
  t_gancho = ganchoAnterior;
  t_hostCaixa = anterior;
  return resposta;
}

void HostJanelas::AbreAjuda(const std::string& modulo) {
  if (aoAbrirAjuda) aoAbrirAjuda(modulo);
}

void HostJanelas::CursorEspera(bool ligado) { SetCursor(LoadCursorA(nullptr, ligado ? IDC_WAIT : IDC_ARROW)); }

bool HostJanelas::ShiftPressionado() const { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace qmx::ui
