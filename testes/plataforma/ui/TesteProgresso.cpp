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

TEST_F(Progresso, TextoEQuantidadesDeCadaRelato) {
  using U = CProgresso::Unidade;
  struct Caso {
    U unidade;
    std::int64_t total, passos, bytes, linhas;
    const char* texto;
    std::int64_t feito;
  } casos[] = {
      // A tenth of a megabyte is 104 857.6 bytes: one short, and at it.
      {U::Bytes, 0, 0, 104857, 0, "0,0 MB gravados", 104857},
      {U::Bytes, 0, 0, 104858, 0, "0,1 MB gravados", 104858},
      {U::Bytes, 0, 0, 1536 * 1024, 8192, "1,5 MB gravados", 1536 * 1024},
      {U::Bytes, 0, 0, 1234567890, 0, "1.177,3 MB gravados", 1234567890},
      // Before anything is written, the rows read so far.
      {U::Bytes, 0, 0, 0, 3 * 4096, "12.288 linhas lidas", 0},
      {U::Cupons, 250, 40, 65536, 4096, "40 de 250 cupons", 40},
      {U::Cupons, 0, 1234, 0, 0, "1.234 cupons", 1234},
  };
  for (const auto& caso : casos) {
    host.Limpa();
    {
      CProgresso progresso("Título", caso.unidade, caso.total);
      if (caso.linhas) processo::ContaLeitura(caso.linhas);
      if (caso.bytes) processo::ContaEscrita(caso.bytes);
      if (caso.passos) progresso.Avanca(caso.passos);
    }
    ASSERT_FALSE(host.Progressos().empty()) << caso.texto;
    const auto& ultimo = host.Progressos().back();
    EXPECT_EQ(ultimo.texto, caso.texto);
    EXPECT_EQ(ultimo.titulo, "Título");
    EXPECT_EQ(ultimo.feito, caso.feito) << caso.texto;
    EXPECT_EQ(ultimo.total, caso.total) << caso.texto;
    EXPECT_EQ(host.FimProgressos(), 1) << caso.texto;
  }
  // Once the work ends, the thread's writes and reads go to no one.
  EXPECT_EQ(processo::ObservadorAndamento(), nullptr);
}

// After the first second the report says how fast the bytes go or, with a
// total, about how long is left (rounded up: seconds under a minute).
TEST(TextoDoProgresso, RitmoEOQueFaltaDepoisDoPrimeiroSegundo) {
  using U = CProgresso::Unidade;
  constexpr std::int64_t kMB = 1024 * 1024;
  struct Caso {
    U unidade;
    std::int64_t total, passos, bytes, linhas, ms;
    const char* texto;
  } casos[] = {
      {U::Bytes, 0, 0, 3 * kMB, 0, 999, "3,0 MB gravados"},
      {U::Bytes, 0, 0, 3 * kMB, 0, 1000, "3,0 MB gravados, 3,0 MB/s"},
      {U::Bytes, 0, 0, 10 * kMB, 0, 3000, "10,0 MB gravados, 3,3 MB/s"},
      {U::Bytes, 0, 0, 1234567890, 0, 400000, "1.177,3 MB gravados, 2,9 MB/s"},
      {U::Bytes, 0, 0, 0, 12288, 5000, "12.288 linhas lidas"},
      {U::Cupons, 250, 40, 0, 0, 999, "40 de 250 cupons"},
      {U::Cupons, 250, 40, 0, 0, 1000, "40 de 250 cupons, faltam cerca de 6 s"},
      {U::Cupons, 250, 50, 0, 0, 12000, "50 de 250 cupons, faltam cerca de 48 s"},
      {U::Cupons, 250, 1, 0, 0, 1000, "1 de 250 cupons, faltam cerca de 5 min"},
      {U::Cupons, 2, 1, 0, 0, 59999, "1 de 2 cupons, faltam cerca de 60 s"},
      {U::Cupons, 2, 1, 0, 0, 60000, "1 de 2 cupons, faltam cerca de 1 min"},
      {U::Cupons, 2, 1, 0, 0, 60001, "1 de 2 cupons, faltam cerca de 2 min"},
      {U::Cupons, 250, 0, 0, 0, 5000, "0 de 250 cupons"},
      {U::Cupons, 250, 250, 0, 0, 5000, "250 de 250 cupons"},
      {U::Cupons, 0, 1234, 0, 0, 5000, "1.234 cupons"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(CProgresso::Texto(c.unidade, c.total, c.passos, c.bytes, c.linhas, std::chrono::milliseconds(c.ms)),
              c.texto);
}

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
TEST_F(Progresso, BarraNoTerminalRedesenhadaNaMesmaLinha) {
  int tubo[2];
  ASSERT_EQ(::pipe(tubo), 0);
  host.DesenhaProgressoEm(tubo[1]);
  struct Caso {
    std::int64_t feito, total;
    const char* linha;
  } casos[] = {
      {0, 200, "\rTítulo [..............................] 0% x\x1b[K"},
      {199, 200, "\rTítulo [#############################.] 99% x\x1b[K"},
      {200, 200, "\rTítulo [##############################] 100% x\x1b[K"},
      {450, 200, "\rTítulo [##############################] 100% x\x1b[K"},
      {7, 0, "\rTítulo x\x1b[K"},
  };
  for (const auto& caso : casos) {
    host.Progresso(AndamentoTrabalho{"Título", "x", caso.feito, caso.total});
    const std::string esperado = texto::ParaUtf8(caso.linha);
    std::string lido(esperado.size(), '\0');
    ASSERT_EQ(::read(tubo[0], lido.data(), lido.size()), static_cast<ssize_t>(lido.size()));
    EXPECT_EQ(lido, esperado) << caso.feito;
  }
  host.FimProgresso();
  char fim[8] = {};
  EXPECT_EQ(::read(tubo[0], fim, sizeof fim), 4);
  EXPECT_EQ(std::string(fim), "\r\x1b[K");
  ::close(tubo[0]);
  ::close(tubo[1]);
}
#endif

}  // namespace
