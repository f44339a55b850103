// The Qt host: every dialog of the library built as its template says
// (kind, id, text, position and size of each control, in order), the
// operator's keys and clicks reaching the dialog as the scripted host's
// steps do, message boxes with their buttons, and long work stopped from
// its progress window. With QMX_CAPTURAS set, a PNG of each dialog of the
// library is saved there (the README's pictures).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <string>
#include <vector>

#include "plataforma/texto/Windows1252.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/ui/ModuloRecursos.h"
#include "plataforma/ui/Progresso.h"
#include "plataforma/ui/qt/HostQt.h"

using namespace qmx::ui;

namespace {

QString ParaQt(const std::string& cp1252) { return QString::fromStdString(qmx::texto::ParaUtf8(cp1252)); }

// Dialog units in pixels, as the Windows dialog manager computes them from
// the dialog's font: an average character width of the 52 letters, the
// font's height, and MulDiv's rounding.
QRect EmPixels(const QFont& fonte, const Retangulo& r) {
  const QFontMetrics m(fonte);
  const double media = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
  const int baseX = static_cast<int>(media + 0.5), baseY = m.height();
  const auto x = [&](int du) { return static_cast<int>(std::floor(du * baseX / 4.0 + 0.5)); };
  const auto y = [&](int du) { return static_cast<int>(std::floor(du * baseY / 8.0 + 0.5)); };
  return QRect(x(r.x), y(r.y), x(r.x + r.largura) - x(r.x), y(r.y + r.altura) - y(r.y));
}

// The widget class a template line becomes.
const char* ClasseQt(const ModeloControle& m) {
  if (m.classe == "Static") return "QLabel";
  if (m.classe == "Edit") return "QLineEdit";
  if (m.classe == "ComboBox") return "QComboBox";
  if (m.classe == "SysListView32") return "QTreeWidget";
  if (m.classe == "ListBox") return "QListWidget";
  if (m.TemEstilo("BS_GROUPBOX")) return "QGroupBox";
  if (m.TemEstilo("BS_AUTOCHECKBOX")) return "QCheckBox";
  if (m.TemEstilo("BS_AUTORADIOBUTTON")) return "QRadioButton";
  return "QPushButton";
}

QString TextoDoWidget(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  return {};
}

class HostQtTeste : public ::testing::Test {
 protected:
  HostQtTeste() : m_anterior(DefineHost(&host)) {}
  ~HostQtTeste() override { DefineHost(m_anterior); }
  HostQt host;

 private:
  HostUI* m_anterior;
};

TEST_F(HostQtTeste, CadaDialogoDaBibliotecaComoSeuModelo) {
  const QString capturas = qEnvironmentVariable("QMX_CAPTURAS");
  int vistos = 0;
  for (const auto& [id, modelo] : ModuloBiblioteca().Modelos()) {
    CDialogo dialogo(id);
    host.aoMostrar = [&](QDialog& janela, CDialogo&) {
      ++vistos;
      EXPECT_EQ(janela.windowTitle(), ParaQt(modelo.titulo)) << id;
      EXPECT_EQ(janela.size(), EmPixels(janela.font(), modelo.retangulo).size()) << id;
      // The controls, in template order: the order of the window's children
      // (which is the Tab order) and each one's kind, text and place.
      const QObjectList filhos = janela.children();
      int anterior = -1;
      for (const auto& m : modelo.controles) {
        if (m.id == -1) continue;
        auto* w = janela.findChild<QWidget*>(QStringLiteral("c%1").arg(m.id), Qt::FindDirectChildrenOnly);
        ASSERT_NE(w, nullptr) << id << " " << m.id;
        EXPECT_STREQ(w->metaObject()->className(), ClasseQt(m)) << id << " " << m.id;
        EXPECT_EQ(w->geometry(), EmPixels(janela.font(), m.retangulo)) << id << " " << m.id;
        if (m.classe == "Button" || (m.classe == "Static" && !m.texto.empty())) {
          EXPECT_EQ(TextoDoWidget(w), ParaQt(m.texto)) << id << " " << m.id;
        }
        EXPECT_EQ(w->isEnabled(), !m.TemEstilo("WS_DISABLED")) << id << " " << m.id;
        const int posicao = static_cast<int>(filhos.indexOf(w));
        EXPECT_GT(posicao, anterior) << id << " " << m.id;
        anterior = posicao;
        if (m.TemEstilo("WS_TABSTOP")) EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << id << " " << m.id;
        else EXPECT_FALSE(w->focusPolicy() & Qt::TabFocus) << id << " " << m.id;
      }
      if (!capturas.isEmpty()) janela.grab().save(capturas + QStringLiteral("/%1.png").arg(id));
      QTest::keyClick(&janela, Qt::Key_Escape);
    };
    EXPECT_EQ(host.ExecutaModal(dialogo), IDCANCEL) << id;
  }
  EXPECT_EQ(vistos, static_cast<int>(ModuloBiblioteca().Modelos().size()));
  EXPECT_GE(vistos, 15);
}

constexpr const char* kModelos = R"rc(
9201 DIALOGEX 0, 0, 200, 100
CAPTION "Filtro de teste"
BEGIN
    CONTROL "Por Período", 101, "Button", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 7, 7, 80, 10
    CONTROL "Por Número", 102, "Button", BS_AUTORADIOBUTTON, 7, 20, 80, 10
    CONTROL "E&xportar", 104, "Button", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 7, 46, 80, 10
    CONTROL "&Data:", -1, "Static", SS_LEFT, 60, 9, 38, 8
    CONTROL "", 105, "Edit", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 100, 7, 60, 12
    CONTROL "", 106, "Edit", ES_AUTOHSCROLL | WS_BORDER | WS_DISABLED | WS_TABSTOP, 100, 22, 60, 12
    CONTROL "", 107, "ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP, 100, 37, 60, 12
    CONTROL "OK", 1, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 90, 80, 50, 14
    CONTROL "Cancelar", 2, "Button", BS_PUSHBUTTON | WS_TABSTOP, 143, 80, 50, 14
END
)rc";

// Records what the framework called, in order; OK may run long work.
class DialogoEspiao : public CDialogo {
 public:
  DialogoEspiao() : CDialogo(9201) {}
  std::vector<std::string> eventos;
  int passosNoOK = 0;

 protected:
  bool OnInitDialog() override {
    GetDlgItem(107).AddString("Convênio 57/95");
    GetDlgItem(107).AddString("Ato COTEPE");
    CheckRadioButton(101, 102, 101);
    GotoDlgCtrl(105);
    return true;
  }
  void OnOK() override {
    eventos.push_back("ok:" + GetDlgItemText(105) + ":" + GetDlgItem(107).GetText(GetDlgItem(107).GetCurSel()));
    if (passosNoOK) {
      CProgresso progresso("Geração", CProgresso::Unidade::Cupons, passosNoOK);
      for (int i = 0; i < passosNoOK; ++i) progresso.Avanca();
    }
    EndDialog(IDOK);
  }
  bool OnCommand(int id, int notificacao) override {
    eventos.push_back("cmd:" + std::to_string(id) + "/" + std::to_string(notificacao));
    if (id == 102) GetDlgItem(106).EnableWindow(true);
    return true;
  }
  void OnKillFocus(int id) override { eventos.push_back("killfocus:" + std::to_string(id)); }
  void OnHelp() override { eventos.push_back("ajuda"); }
};

class DialogoQt : public HostQtTeste {
 protected:
  DialogoQt() : m_modulo("teste") {
    m_modulo.AdicionaModelos(kModelos);
    m_troca.emplace(m_modulo);
  }
  template <class T = QWidget>
  static T* Controle(QDialog& janela, int id) {
    return janela.findChild<T*>(QStringLiteral("c%1").arg(id), Qt::FindDirectChildrenOnly);
  }

 private:
  ModuloRecursos m_modulo;
  std::optional<TrocaRecursos> m_troca;
};

// The same operator, once from a script of the scripted host and once with
// keys and clicks in the Qt window: the same handlers run in the same
// order, and the dialog ends the same.
TEST_F(DialogoQt, RoteiroDoHostRoteirizadoDaAsMesmasRespostas) {
  HostRoteirizado roteirizado;
  roteirizado.CarregaRoteiro(
      "dialogo 9201\ndigita 105 01/02/2026\nclica 102\ndigita 106 7\nseleciona 107 1\ntab\najuda\nclica 1\n");
  DialogoEspiao peloRoteiro;
  {
    HostTemporario temporario(roteirizado);
    EXPECT_EQ(peloRoteiro.DoModal(), IDOK);
  }

  DialogoEspiao pelaJanela;
  host.aoMostrar = [](QDialog& janela, CDialogo& dialogo) {
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
    EXPECT_TRUE(Controle(janela, 105)->hasFocus());
    QTest::keyClicks(Controle(janela, 105), QStringLiteral("01/02/2026"));
    EXPECT_EQ(dialogo.GetDlgItemText(105), "01/02/2026");
    EXPECT_FALSE(Controle(janela, 106)->isEnabled());
    QTest::mouseClick(Controle<QRadioButton>(janela, 102), Qt::LeftButton);
    // The handler enabled the second edit; the window shows it at once.
    ASSERT_TRUE(Controle(janela, 106)->isEnabled());
    QTest::mouseClick(Controle(janela, 106), Qt::LeftButton);
    QTest::keyClicks(Controle(janela, 106), QStringLiteral("7"));
    auto* combo = Controle<QComboBox>(janela, 107);
    combo->setFocus();
    QApplication::processEvents();
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QTest::keyClick(combo, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(dialogo.FocoAtual(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  };
  EXPECT_EQ(host.ExecutaModal(pelaJanela), IDOK);
  // Typing into an edit one by one notifies once a character: the scripted
  // host types the whole text at once. Besides that, the same.
  std::vector<std::string> semRepetir;
  for (const auto& e : pelaJanela.eventos)
    if (semRepetir.empty() || e != semRepetir.back() || e.rfind("cmd:105/", 0) != 0) semRepetir.push_back(e);
  EXPECT_EQ(semRepetir, peloRoteiro.eventos);
  EXPECT_EQ(pelaJanela.eventos.back(), "ok:01/02/2026:Ato COTEPE");
}

TEST_F(DialogoQt, EscFechaECancelaEEnterSemBotaoPadraoEOK) {
  DialogoEspiao dialogo;
  host.aoMostrar = [](QDialog& janela, CDialogo&) { QTest::keyClick(&janela, Qt::Key_Escape); };
  EXPECT_EQ(host.ExecutaModal(dialogo), IDCANCEL);
  // The window's close box goes to the dialog, which cancels.
  DialogoEspiao fechado;
  host.aoMostrar = [](QDialog& janela, CDialogo&) { janela.close(); };
  EXPECT_EQ(host.ExecutaModal(fechado), IDCANCEL);
  // Enter in an edit presses the default button (OK).
  DialogoEspiao enter;
  host.aoMostrar = [](QDialog& janela, CDialogo&) {
    QTest::keyClicks(Controle(janela, 105), QStringLiteral("x"));
    QTest::keyClick(Controle(janela, 105), Qt::Key_Return);
  };
  EXPECT_EQ(host.ExecutaModal(enter), IDOK);
  EXPECT_EQ(enter.eventos.back(), "ok:x:");
}

TEST_F(DialogoQt, TrabalhoLongoCanceladoNaJanelaDeProgresso) {
  const auto intervalo = CProgresso::DefineIntervalo(std::chrono::milliseconds(0));
  for (const bool cancela : {false, true}) {
    DialogoEspiao dialogo;
    dialogo.passosNoOK = 500;
    int vistos = 0;
    QString rotulo;
    host.aoMostrarProgresso = [&](QProgressDialog& progresso) {
      ++vistos;
      rotulo = progresso.labelText();
      EXPECT_EQ(progresso.windowTitle(), QStringLiteral("Geração"));
      EXPECT_EQ(progresso.maximum(), 1000);
      if (cancela) QTest::mouseClick(progresso.findChild<QPushButton*>(), Qt::LeftButton);
    };
    host.aoMostrar = [](QDialog& janela, CDialogo&) { QTest::keyClick(Controle(janela, 105), Qt::Key_Return); };
    EXPECT_EQ(host.ExecutaModal(dialogo), cancela ? IDCANCEL : IDOK);
    EXPECT_EQ(vistos, 1);
    EXPECT_EQ(rotulo, QStringLiteral("0 de 500 cupons"));
    // The progress window is gone with its work.
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(qobject_cast<QProgressDialog*>(w) && w->isVisible());
  }
  CProgresso::DefineIntervalo(intervalo);
}

// QMX_JANELAS=qt: with no host set by the program, the core library loads
// the Qt host by name, from beside itself, and uses it from then on.
TEST(JanelasDoAmbiente, QmxJanelasQtCarregaOHostPeloNome) {
  HostUI* anterior = DefineHost(nullptr);
  qputenv("QMX_JANELAS", "qt");
  EXPECT_NE(dynamic_cast<HostQt*>(&HostAtual()), nullptr);
  qunsetenv("QMX_JANELAS");
  DefineHost(anterior);
}

}  // namespace
