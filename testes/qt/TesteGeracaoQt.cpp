// A real generation through the Qt host: the demonstration company's
// Sintegra filled in the window as an operator does, then stopped from its
// progress window (no box, no file left, final or temporary), then let run
// to its file and the box that names it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "frame/QMXUTIL.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/Progresso.h"
#include "plataforma/ui/qt/HostQt.h"

using namespace qmx::ui;
namespace fs = std::filesystem;

namespace {

// Every file under a folder, with its size and time (the company's
// database aside: its journal files come and go with its readers).
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> Arquivos(const fs::path& pasta) {
  std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> arquivos;
  for (const auto& e : fs::recursive_directory_iterator(pasta))
    if (e.is_regular_file() && e.path().filename().string().rfind("empresa.db", 0) != 0)
      arquivos[e.path().string()] = {e.file_size(), e.last_write_time()};
  return arquivos;
}

TEST(GeracaoQt, SintegraPreenchidoNaJanelaCanceladoNoProgressoENaoDeixaArquivo) {
  const fs::path pasta = fs::temp_directory_path() / ("qmx-qt-" + std::to_string(::getpid()));
  fs::remove_all(pasta);
  const std::string demo = std::string("'") + QMX_PROGRAMA + "' demo --mes 11/2026 --pasta '" + pasta.string() +
                           "/loja' > '" + pasta.string() + ".log' 2>&1";
  ASSERT_EQ(std::system(demo.c_str()), 0) << demo;
  ::setenv("QMX_REGISTRO", (pasta / "loja" / "registro.ini").c_str(), 1);
  const fs::path temporaria = pasta / "tmp";
  fs::create_directories(temporaria);
  ::setenv("TMPDIR", temporaria.c_str(), 1);
  ASSERT_TRUE(QMX_Inicializa("DEMO", 1, 0));

  HostQt host;
  HostUI* anterior = DefineHost(&host);
  const auto intervalo = CProgresso::DefineIntervalo(std::chrono::milliseconds(0));
  host.aoMostrar = [](QDialog& janela, CDialogo& dialogo) {
    // Each edit's text chosen whole and typed over, as an operator does.
    const auto digita = [&](int id, const char* texto) {
      auto* edit = janela.findChild<QWidget*>(QStringLiteral("c%1").arg(id));
      QTest::mouseClick(edit, Qt::LeftButton);
      QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(edit, QString::fromLatin1(texto));
    };
    digita(13039, "1");
    digita(13041, "01/11/2026");
    digita(13042, "30/11/2026");
    QTest::mouseClick(janela.findChild<QPushButton*>(QStringLiteral("c1")), Qt::LeftButton);
    // A filter the dialog refused would wait for the operator: the test
    // gives up instead of waiting.
    if (dialogo.Aberto()) QTest::keyClick(&janela, Qt::Key_Escape);
  };
  std::vector<QString> caixas;
  host.aoMostrarCaixa = [&](QMessageBox& caixa) {
    caixas.push_back(caixa.text());
    QTest::keyClick(&caixa, Qt::Key_Return);
  };
  int relatos = 0;
  for (const bool cancela : {true, false}) {
    const auto antes = Arquivos(pasta / "loja");
    caixas.clear();
    host.aoMostrarProgresso = [&](QProgressDialog& progresso) {
      ++relatos;
      if (cancela) QTest::mouseClick(progresso.findChild<QPushButton*>(), Qt::LeftButton);
    };
    QMX_Sintegra();
    const auto depois = Arquivos(pasta / "loja");
    if (cancela) {
      // Stopped: no box, no file of any kind anywhere in the company's
      // folders or the temporary folder.
      EXPECT_TRUE(caixas.empty());
      EXPECT_EQ(depois, antes);
      EXPECT_TRUE(fs::is_empty(temporaria));
    } else {
      ASSERT_FALSE(caixas.empty());
      EXPECT_TRUE(caixas.back().startsWith(QStringLiteral("Arquivo gerado em"))) << caixas.back().toStdString();
      EXPECT_NE(depois, antes);
    }
  }
  EXPECT_EQ(relatos, 2);
  CProgresso::DefineIntervalo(intervalo);
  DefineHost(anterior);
  QMX_Finaliza();
  fs::remove_all(pasta);
  fs::remove(pasta.string() + ".log");
}

}  // namespace
