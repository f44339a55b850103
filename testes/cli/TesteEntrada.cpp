// The way in, as a new user meets it: a date the dialog refuses stops the
// command with the dialog's words, the demonstration wants a month that is
// over, a file that cannot be written says why and ends "falhou", Ctrl-C
// leaves nothing behind, and no temporary outlives its run.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "apoio/EmpresaTeste.h"
#include "apoio/MovimentoTeste.h"
#include "apoio/PastaTemporaria.h"
#include "apoio/ProgramaQmx.h"
#include "apoio/RegistroTemporario.h"
#include "apoio/RelogioSimulado.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/texto/Windows1252.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using qmx::testes::ConfereSaida;
using qmx::testes::EmpresaTeste;
using qmx::testes::Execucao;
using qmx::testes::PastaTemporaria;
using qmx::testes::Qmx;
using qmx::testes::RelogioSimulado;

// Literals of this file are Windows-1252; the terminal speaks UTF-8.
std::string U8(const std::string& texto) { return qmx::texto::ParaUtf8(texto); }

std::vector<std::string> Nomes(const fs::path& pasta) {
  std::vector<std::string> nomes;
  std::error_code erro;
  for (fs::directory_iterator it(pasta, erro), fim; !erro && it != fim; it.increment(erro))
    nomes.push_back(it->path().filename().string());
  return nomes;
}

// A company whose clock reads 06/12/2026 10:00, with branch 1 and its ECF.
struct Loja {
  Loja() {
    empresa.Filial(1, "Loja Centro", "SP", "Loja Ltda");
    empresa.Emissora(1, 1, "QMX-CLI-1", "Caixa 1");
    empresa.AcrescentaRegistro(RelogioSimulado("06/12/2026", "10:00:00"));
  }
  fs::path Arquivos() const { return empresa.PastaEC() / "Arquivos-Eletronicos"; }
  EmpresaTeste empresa;
};

// A date past today: the dialog's notice, the option named, exit 2, no
// file; today itself is taken.
TEST(Entrada, DataFuturaParaOComandoComOAvisoDoDialogo) {
  Loja loja;
  const struct {
    const char* inicial;
    const char* final;
    const char* aviso;
  } casos[] = {{"07/12/2026", "31/12/2026", "--data-inicial: recusado pelo diálogo: Data Inicial maior que data atual."},
               {"01/12/2026", "07/12/2026", "--data-final: recusado pelo diálogo: Data Final maior que data atual."}};
  for (const auto& c : casos) {
    const Execucao r = Qmx(std::string("--empresa TESTE davs --filial 1 --ecf 1 --data-inicial ") + c.inicial +
                           " --data-final " + c.final + " --arquivo");
    ConfereSaida(r, 2, {U8(std::string("qmx: ") + c.aviso + "\n")});
    EXPECT_TRUE(Nomes(loja.Arquivos()).empty()) << r.saida;
  }
  const Execucao hoje = Qmx("--empresa TESTE davs --filial 1 --ecf 1 --data-inicial 06/12/2026 --data-final 06/12/2026 "
                            "--arquivo");
  ConfereSaida(hoje, 0, {"DAVs-QMX-CLI-1-06122026-06122026.txt"});
}

// The company's folder of files is taken by a file: every generator tells
// the same way which file and why, and qmx ends "falhou".
TEST(Entrada, ArquivoQueNaoSePodeGravarDizPorQue) {
  Loja loja;
  fs::create_directories(loja.empresa.PastaEC());
  std::ofstream(loja.Arquivos()) << "no caminho";
  const std::string pasta = loja.Arquivos().string();
  const struct {
    const char* comando;
    const char* arquivo;
  } casos[] = {{"davs --filial 1 --ecf 1 --data-inicial 01/11/2026 --data-final 30/11/2026 --arquivo",
                "/DAVs-QMX-CLI-1-01112026-30112026.txt"},
               {"estoque --filial 1", "/Estoque"}};
  for (const auto& c : casos) {
    const Execucao r = Qmx(std::string("--empresa TESTE ") + c.comando);
    ConfereSaida(r, 1, {U8("Não foi possível gravar o arquivo\n") + pasta + c.arquivo,
                        U8("Parte do caminho " + pasta + " não é uma pasta. (resposta 1)\n"), "falhou\n"});
    EXPECT_EQ(r.saida.find("servidor"), std::string::npos) << r.saida;
  }
}

// The cause of a failed file, for each failure the system reports.
TEST(Entrada, CausaDeCadaFalhaDeArquivo) {
  const std::string arquivo = "/srv/loja/Arquivos-Eletronicos/ZTR1.txt";
  const struct {
    int erro;
    const char* causa;
  } casos[] = {{EACCES, "Sem permissão para gravar na pasta /srv/loja/Arquivos-Eletronicos."},
               {EPERM, "Sem permissão para gravar na pasta /srv/loja/Arquivos-Eletronicos."},
               {EROFS, "A pasta /srv/loja/Arquivos-Eletronicos está num disco só de leitura."},
               {ENOENT, "A pasta /srv/loja/Arquivos-Eletronicos não existe."},
               {EWOULDBLOCK, "O arquivo /srv/loja/Arquivos-Eletronicos/ZTR1.txt está em uso por outro programa."},
               {EIO, "Erro de leitura ou gravação no disco da pasta /srv/loja/Arquivos-Eletronicos."},
               {EFBIG, "O arquivo passou do tamanho que o sistema permite na pasta /srv/loja/Arquivos-Eletronicos."},
               {EXDEV, "Erro 18 do sistema ao gravar /srv/loja/Arquivos-Eletronicos/ZTR1.txt."}};
  for (const auto& c : casos) EXPECT_EQ(qmx::CausaDaFalha(c.erro, arquivo), c.causa) << c.erro;
  // In the library's own path form too.
  EXPECT_EQ(qmx::CausaDaFalha(EROFS, "\\srv\\loja\\x.txt"), "A pasta /srv/loja está num disco só de leitura.");
}

// Ctrl-C in the middle of a file: the partial file and the run's folder go,
// the last line is "interrompido", the exit 130.
TEST(Entrada, InterrupcaoNaoDeixaNada) {
  Loja loja;
  qmx::testes::MovimentoTeste m(loja.empresa);
  m.Produto(10, "ARROZ 5KG");
  const qmx::NumeroDia dia = qmx::CodificaDia(16, 11, 2026);
  for (int i = 0; i < 4000; ++i) m.Cupom(1, dia).Item(10, 1, 12.5).Item(10, 2, 12.5).Item(10, 3, 12.5);
  m.ReducaoZ(1, dia);
  m.Grava();
  PastaTemporaria saida;
  const std::string registroUi = saida.Caminho("saida.txt");
  const std::vector<std::string> argumentos = {QMX_PROGRAMA, "--empresa", "TESTE", "sintegra", "--filial", "1",
                                               "--data-inicial", "01/11/2026", "--data-final", "30/11/2026"};
  std::vector<char*> argv;
  for (const auto& a : argumentos) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, 1, registroUi.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, QMX_PROGRAMA, &acoes, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&acoes);
  // Waits for the partial file beside the one being stored.
  bool visto = false;
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!visto && std::chrono::steady_clock::now() < limite) {
    for (const auto& nome : Nomes(loja.Arquivos())) visto = visto || nome.find(".qmx-parcial-") != std::string::npos;
    if (!visto) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ASSERT_TRUE(visto) << "the generation ended before its partial file was seen";
  ::kill(pid, SIGINT);
  int estado = 0;
  ASSERT_EQ(::waitpid(pid, &estado, 0), pid);
  ASSERT_TRUE(WIFEXITED(estado));
  EXPECT_EQ(WEXITSTATUS(estado), 130);
  EXPECT_NE(PastaTemporaria::Le(registroUi).find("interrompido\n"), std::string::npos);
  EXPECT_TRUE(Nomes(loja.Arquivos()).empty()) << testing::PrintToString(Nomes(loja.Arquivos()));
  EXPECT_FALSE(fs::exists(fs::temp_directory_path() / ("qmx-" + std::to_string(pid))));
}

}  // namespace
