#include <gtest/gtest.h>

#include <vector>

#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/ui/ModuloRecursos.h"

using namespace qmx::ui;

namespace {

constexpr const char* kModelos = R"rc(
// A filter with a radio group, a check box, a list and two edits.
9001 DIALOGEX 0, 0, 200, 100
CAPTION "Filtro de teste"
BEGIN
    CONTROL "Por Período", 101, "Button", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 7, 7, 80, 10
    CONTROL "Por Número", 102, "Button", BS_AUTORADIOBUTTON, 7, 20, 80, 10
    CONTROL "Total", 103, "Button", BS_AUTORADIOBUTTON, 7, 33, 80, 10
    CONTROL "Exportar", 104, "Button", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 7, 46, 80, 10
    CONTROL "", 105, "Edit", ES_AUTOHSCROLL | WS_BORDER, 100, 7, 60, 12
    CONTROL "", 106, "Edit", ES_AUTOHSCROLL | WS_BORDER | WS_DISABLED, 100, 22, 60, 12
    CONTROL "", 107, "ComboBox", CBS_DROPDOWNLIST, 100, 37, 60, 12
    CONTROL "OK", 1, "Button", BS_DEFPUSHBUTTON, 90, 80, 50, 14
    CONTROL "Cancelar", 2, "Button", BS_PUSHBUTTON, 143, 80, 50, 14
END
9002 DIALOGEX 0, 0, 100, 40
CAPTION "Interno"
BEGIN
    CONTROL "OK", 1, "Button", BS_DEFPUSHBUTTON, 40, 20, 50, 14
END
// A report list that takes several rows and a list box that takes one.
9003 DIALOGEX 0, 0, 200, 100
CAPTION "Listas"
BEGIN
    CONTROL "", 201, "SysListView32", LVS_REPORT | WS_BORDER, 7, 7, 120, 80
    CONTROL "", 202, "ListBox", WS_BORDER, 130, 7, 60, 80
END
)rc";

ModuloRecursos& ModuloDeTeste() {
  static ModuloRecursos modulo("teste");
  [[maybe_unused]] static const bool carregado = (modulo.AdicionaModelos(kModelos), true);
  return modulo;
}

// Records what the framework called, in order.
class DialogoEspiao : public CDialogo {
 public:
  DialogoEspiao() : CDialogo(9001) {}
  std::vector<std::string> eventos;
  bool recusaCancelar = false;
  bool abreInternoNoOK = false;
  int resultadoInterno = 0;

 protected:
  bool OnInitDialog() override {
    eventos.push_back("init");
    GetDlgItem(107).AddString("Convênio 57/95");
    GetDlgItem(107).AddString("Ato COTEPE");
    CheckRadioButton(101, 103, 101);
    return true;
  }
  void OnOK() override {
    eventos.push_back("ok:" + GetDlgItemText(105));
    if (abreInternoNoOK) {
      CDialogo interno(9002);
      resultadoInterno = interno.DoModal();
    }
    EndDialog(IDOK);
  }
  void OnCancel() override {
    eventos.push_back("cancel");
    if (!recusaCancelar) EndDialog(IDCANCEL);
  }
  bool OnCommand(int id, int notificacao) override {
    eventos.push_back("cmd:" + std::to_string(id) + "/" + std::to_string(notificacao));
    if (id == 102) GetDlgItem(106).EnableWindow(true);
    return true;
  }
  void OnKillFocus(int id) override { eventos.push_back("killfocus:" + std::to_string(id)); }
};

class Dialogos : public ::testing::Test {
 protected:
  Dialogos() : m_troca(ModuloDeTeste()), m_hostAtivo(m_host) {}
  TrocaRecursos m_troca;
  HostRoteirizado m_host;
  HostTemporario m_hostAtivo;
};

TEST_F(Dialogos, CursorDeEsperaECaixasRespondemComOBotaoPadraoOuComORoteiro) {
  {
    CWaitCursor espera;
    EXPECT_EQ(m_host.CursorEsperaAtivo(), 1);
  }
  EXPECT_EQ(m_host.CursorEsperaAtivo(), 0);
  EXPECT_EQ(m_host.VezesCursorEspera(), 1);
  EXPECT_EQ(CaixaMensagem("a"), IDOK);
  EXPECT_EQ(CaixaMensagem("b", "T", MB_YESNO), IDYES);
  EXPECT_EQ(CaixaMensagem("c", "T", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(CaixaMensagem("d", "T", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  m_host.CarregaRoteiro("resposta nao\nresposta 2\n");
  EXPECT_EQ(CaixaMensagem("e", "T", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(CaixaMensagem("f", "T", MB_OK), IDOK);  // it has no Cancel: the default answers
  ASSERT_EQ(m_host.Caixas().size(), 6u);
  EXPECT_EQ(m_host.Caixas()[0].titulo, "qmx_testes");  // without a caption: the program's name
  EXPECT_EQ(m_host.Caixas()[4].flags, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(m_host.Erros().size(), 1u);
  // A front end names itself; a caption of the box's own still wins.
  m_host.DefineTituloPrograma("Torvo ECF");
  CaixaMensagem("g");
  CaixaMensagem("h", "T");
  EXPECT_EQ(m_host.Caixas()[6].titulo, "Torvo ECF");
  EXPECT_EQ(m_host.Caixas()[7].titulo, "T");
}

// Rows inserted, edited and deleted; the selection follows its rows; the
// script selects several rows only where the list takes several.
TEST_F(Dialogos, ListaDeColunasComVariasLinhasSelecionadas) {
  class DialogoListas : public CDialogo {
   public:
    DialogoListas() : CDialogo(9003) {}
    bool OnInitDialog() override {
      auto& lista = GetDlgItem(201);
      lista.InsertColumn(0, "Código");
      lista.InsertColumn(0, "Antes");  // inserted before: the columns move right
      for (const char* codigo : {"10", "30", "40"}) lista.SetItemText(lista.InsertItem(99, codigo), 1, codigo);
      lista.SetItemText(lista.InsertItem(1, "20"), 1, "vinte");
      GetDlgItem(202).AddString("a");
      GetDlgItem(202).AddString("b");
      return true;
    }
  };
  m_host.CarregaRoteiro("dialogo 9003\nseleciona 201 3 1\nseleciona 202 0 1\nseleciona 201 0 4\n");
  DialogoListas dialogo;
  dialogo.DoModal();
  EXPECT_EQ(m_host.Erros().size(), 2u);  // two rows of a list box; a row that is not there
  const auto& lista = m_host.Dialogos()[0].aoFechar.at(201);
  EXPECT_EQ(lista.colunas, (std::vector<std::string>{"Antes", "Código"}));
  EXPECT_EQ(lista.linhas, (std::vector<std::vector<std::string>>{{"10", "10"}, {"20", "vinte"}, {"30", "30"}, {"40", "40"}}));
  EXPECT_EQ(lista.selecionadas, (std::vector<int>{1, 3}));

  auto& controle = dialogo.GetDlgItem(201);
  EXPECT_TRUE(controle.SelecaoMultipla());
  EXPECT_FALSE(dialogo.GetDlgItem(202).SelecaoMultipla());
  EXPECT_TRUE(controle.DeleteItem(0));
  EXPECT_EQ(controle.GetSelItems(), (std::vector<int>{0, 2}));
  EXPECT_EQ(controle.GetItemText(2, 1), "40");
  EXPECT_EQ(controle.GetItemText(2, 5), "");
  EXPECT_FALSE(controle.DeleteItem(3));
  controle.SetSel(0, false);
  EXPECT_EQ(controle.GetSelCount(), 1);
  // A row inserted before the selected one moves it down.
  controle.SetCurSel(1);
  controle.InsertItem(0, "05");
  EXPECT_EQ(controle.GetCurSel(), 2);
  EXPECT_EQ(controle.GetSelItems(), (std::vector<int>{2}));
  // A single-selection list keeps one row.
  auto& caixa = dialogo.GetDlgItem(202);
  caixa.SetSel(0, true);
  caixa.SetSel(1, true);
  EXPECT_EQ(caixa.GetSelItems(), (std::vector<int>{1}));
  EXPECT_EQ(caixa.GetCurSel(), 1);
}

TEST(Recursos, TrocaEscolheOModeloDaBibliotecaERestaura) {
  // The calling program has a template with the library's id: only the
  // switch makes the library's own one be found.
  ModuloRecursos programa("programa de teste");
  programa.AdicionaModelos("14027 DIALOGEX 0, 0, 10, 10\nCAPTION \"do programa\"\nBEGIN\nEND\n");
  DefineRecursoAtual(programa);
  EXPECT_EQ(ProcuraModelo(14027)->titulo, "do programa");
  {
    TrocaRecursos troca(ModuloBiblioteca());
    EXPECT_NE(ProcuraModelo(14027)->titulo, "do programa");
  }
  EXPECT_EQ(&RecursoAtual(), &programa);
  try {
    TrocaRecursos troca(ModuloBiblioteca());
    throw std::runtime_error("falha no meio");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(&RecursoAtual(), &programa);
  DefineRecursoAtual(ModuloPrograma());
}

}  // namespace
