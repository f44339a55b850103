// Long work's progress as the hosts hear it: the texts and amounts of the
// reports, how often they come, Cancel stopping the work (a dialog's work
// ends the dialog as cancelled and leaves no file), and the bar the
// command line draws on its terminal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "arquivos/SaidaTemporaria.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/ui/ModuloRecursos.h"
#include "plataforma/ui/Progresso.h"

using namespace qmx;
using namespace qmx::ui;
using namespace std::chrono_literals;

namespace {

// Every report shown at once, through a scripted host of the test's own.
class Progresso : public ::testing::Test {
 protected:
  Progresso() : m_intervalo(CProgresso::DefineIntervalo(0ms)) {}
  ~Progresso() override { CProgresso::DefineIntervalo(m_intervalo); }

  HostRoteirizado host;
  HostTemporario temporario{host};

 private:
  std::chrono::milliseconds m_intervalo;
};

TEST_F(Progresso, TrabalhoCurtoNaoMostraNadaELongoRelataACadaIntervalo) {
  CProgresso::DefineIntervalo(CProgresso::kIntervalo);
  {
    CProgresso progresso("Curto", CProgresso::Unidade::Cupons, 10);
    for (int i = 0; i < 10; ++i) progresso.Avanca();
  }
  EXPECT_TRUE(host.Progressos().empty());
  EXPECT_EQ(host.FimProgressos(), 0);

  CProgresso::DefineIntervalo(20ms);
  {
    CProgresso progresso("Longo", CProgresso::Unidade::Cupons, 0);
    const auto fim = std::chrono::steady_clock::now() + 130ms;
    while (std::chrono::steady_clock::now() < fim) progresso.Avanca();
  }
  // Never two reports within the interval, and one for each that passed
  // (a slow machine may see fewer).
  EXPECT_GE(host.Progressos().size(), 2u);
  EXPECT_LE(host.Progressos().size(), 7u);
  EXPECT_EQ(host.FimProgressos(), 1);
}

TEST_F(Progresso, CancelarNoRelatoPedidoInterrompeEDevolveOObservador) {
  // A work inside another: the inner one gives the outer one back.
  CProgresso fora("Fora", CProgresso::Unidade::Cupons, 3);
  host.CancelaProgresso(3);
  int passos = 0;
  try {
    CProgresso dentro("Dentro", CProgresso::Unidade::Bytes);
    for (; passos < 10; ++passos) processo::ContaEscrita(1024);
    FAIL() << "não interrompido";
  } catch (const processo::CTrabalhoCancelado&) {
  }
  // Each start is reported too: the outer one's, the inner one's, then
  // the inner one's first write; the second is stopped.
  EXPECT_EQ(passos, 1);
  EXPECT_EQ(host.Progressos().size(), 4u);
  EXPECT_EQ(host.FimProgressos(), 1);
  EXPECT_EQ(processo::ObservadorAndamento(), &fora);
  // The next stop asked for is another's: this work goes on.
  EXPECT_NO_THROW(fora.Avanca());
}

constexpr const char* kModelo = R"rc(
9101 DIALOGEX 0, 0, 120, 40
CAPTION "Geração"
BEGIN
    CONTROL "OK", 1, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 20, 50, 14
    CONTROL "Cancelar", 2, "Button", BS_PUSHBUTTON | WS_TABSTOP, 64, 20, 50, 14
END
)rc";

// OK writes a file of a megabyte through the generated files' writer,
// with its progress shown, and keeps it when done.
class DialogoQueGera : public CDialogo {
 public:
  DialogoQueGera() : CDialogo(9101) {}
  std::filesystem::path gerado;

 protected:
  void OnOK() override {
    CProgresso progresso("Geração", CProgresso::Unidade::Bytes);
    CSaidaTemporaria saida;
    ASSERT_TRUE(saida.Cria());
    gerado = texto::CaminhoNativo(saida.Caminho());
    for (int i = 0; i < 1024; ++i) saida.Escreve(std::string(1023, 'x') + "\n");
    saida.Fecha();
    saida.Mantem();
    EndDialog(IDOK);
  }
};

TEST_F(Progresso, DialogoCujaGeracaoECanceladaTerminaCanceladoSemArquivo) {
  ModuloRecursos modulo("teste");
  modulo.AdicionaModelos(kModelo);
  TrocaRecursos recursos(modulo);
  for (const bool cancela : {false, true}) {
    host.Limpa();
    host.CarregaRoteiro(std::string(cancela ? "cancela-progresso 4\n" : "") + "dialogo 9101\nclica 1\n");
    DialogoQueGera dialogo;
    EXPECT_EQ(dialogo.DoModal(), cancela ? IDCANCEL : IDOK);
    ASSERT_FALSE(dialogo.gerado.empty());
    EXPECT_EQ(std::filesystem::exists(dialogo.gerado), !cancela);
    // The start, and a report per full buffer written: 15 of the 16 of 64
    // KB (the last one leaves with the close).
    EXPECT_EQ(host.Progressos().size(), cancela ? 4u : 16u);
    EXPECT_EQ(host.FimProgressos(), 1);
    std::filesystem::remove(dialogo.gerado);
  }
}

#if !defined(_WIN32)
#endif

}  // namespace
