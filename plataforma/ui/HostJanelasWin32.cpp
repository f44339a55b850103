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

// After a handler: the controls show the model, and a dialog the model
// closed ends.
void Conclui(HWND janela, Execucao& execucao) {
  if (!execucao.dialogo->Aberto()) {
    EndDialog(janela, execucao.dialogo->Resultado());
    return;
  }
  Copia(janela, execucao);
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
      // Once the box is on the screen and has drawn itself.
      if (execucao->host->aoMostrar) SetTimer(janela, WM_QMX_MOSTRADO, 300, nullptr);
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
      if (notificacao == EN_CHANGE && conhecido) {
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

// Made by the DLL's entry point too: nothing here may load a library.
HostJanelas::HostJanelas(void* modulo) : m_modulo(modulo ? modulo : ModuloDesteCodigo()) {}

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

void HostJanelas::CursorEspera(bool ligado) { SetCursor(LoadCursorA(nullptr, ligado ? IDC_WAIT : IDC_ARROW)); }

bool HostJanelas::ShiftPressionado() const { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace qmx::ui
