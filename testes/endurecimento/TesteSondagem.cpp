// Hostile inputs and faults that once hung, crashed or misled: each case
// here failed before its fix.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>

#include "apoio/LimiteTamanhoArquivo.h"
#include "apoio/EmpresaTeste.h"
#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "frame/QMXUTIL.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/DetalheFalhaDados.h"
#include "plataforma/dados/PoolSessoes.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/registro/Registro.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "tef/QMXArquivoTEF.h"

using namespace qmx;
using qmx::testes::EmpresaTeste;
using qmx::testes::PastaTemporaria;
using qmx::testes::RegistroTemporario;
namespace fs = std::filesystem;

namespace {

double Segundos(const std::function<void()>& trabalho) {
  const auto inicio = std::chrono::steady_clock::now();
  trabalho();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

// Runs `trabalho` in a child process; true when it ended with status 0
// within the time. A child that hangs is killed and counts as a failure.
bool TerminaNoFilho(const std::function<bool()>& trabalho, int segundos = 5) {
  const pid_t filho = ::fork();
  if (filho == 0) ::_exit(trabalho() ? 0 : 1);
  for (int i = 0; i < segundos * 100; ++i) {
    int estado = 0;
    if (::waitpid(filho, &estado, WNOHANG) == filho) return WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
    ::usleep(10000);
  }
  ::kill(filho, SIGKILL);
  ::waitpid(filho, nullptr, 0);
  return false;
}

// A host whose every box and dialog fails, as a broken operator script does.
class HostQueFalha : public ui::HostRoteirizado {
 public:
  int ExecutaModal(ui::CDialogo&) override { throw std::runtime_error("roteiro quebrado"); }
  int MostraCaixa(const std::string&, const std::string&, unsigned) override {
    throw std::runtime_error("roteiro quebrado");
  }
};

TEST(Sondagem, NenhumaExportacaoDeixaEscaparExcecao) {
  EmpresaTeste empresa;  // no printer model: finding the ECF shows a box
  empresa.Filial(1, "Loja", "SP", "Mercado");
  empresa.Emissora(1, 1, "SERIE1");
  HostQueFalha host;
  ui::HostTemporario ativo(host);
  QMX_Inicializa(empresa.Chave().c_str(), 1, 0);
  int posicao = 7;
  std::int32_t posicao32 = 7;
  char digest[64] = {};
  const std::vector<std::pair<const char*, std::function<void()>>> chamadas = {
      {"PegaECFAtivo", [&] { EXPECT_TRUE(PegaECFAtivo(posicao)); EXPECT_EQ(posicao, -1); }},
      {"QMX_PegaECFAtivo", [&] { QMX_PegaECFAtivo(&posicao32); EXPECT_EQ(posicao32, -1); }},
      {"QMX_GetEmissora", [&] { std::uint16_t ecf = 0; QMX_GetEmissora(&ecf); }},
      {"QMX_IdentificacaoPAFECF", [&] { EXPECT_EQ(QMX_IdentificacaoPAFECF(), 0); }},
      {"QMX_GerarMD5_PAFECF", [&] { EXPECT_EQ(QMX_GerarMD5_PAFECF(digest, 1), 0); }},
      {"ECImprimeParametrizacao", [&] { EXPECT_FALSE(ECImprimeParametrizacao(1, 1)); }},
      {"QMX_Sintegra", [&] { QMX_Sintegra(); }},
      {"QMX_MeiosPagamento", [&] { QMX_MeiosPagamento(); }},
  };
  for (const auto& [nome, chamada] : chamadas) EXPECT_NO_THROW(chamada()) << nome;
}

TEST(Sondagem, LeituraNaoEsperaTransacaoDeOutroEscritor) {
  EmpresaTeste empresa;
  empresa.Filial(1, "Loja", "SP", "Mercado");
  sqlite3* outro = nullptr;
  ASSERT_EQ(sqlite3_open((empresa.PastaEC() / "empresa.db").c_str(), &outro), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(outro, "BEGIN IMMEDIATE; UPDATE filial SET nome_fantasia = 'x'", nullptr, nullptr, nullptr),
            SQLITE_OK);
  dados::CPoolSessoes::Instancia().Descarta(empresa.Endereco());  // a first open, as in a new process
  dados::CConexaoFilial filiais;
  REG_FILIALPS filial{};
  EXPECT_LT(Segundos([&] {
              ASSERT_EQ(filiais.Inicializa(empresa.Chave(), 1, 0, false), com::S_OK);
              EXPECT_EQ(filiais.Le(1, &filial), com::S_OK);
            }),
            5.0);  // waiting for the writer would take the 10 s busy timeout
  EXPECT_STREQ(filial.NomeFantasia, "Loja");
  sqlite3_exec(outro, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(outro);
}

// A company whose ECF 1 is this computer's printer, in São Paulo.
struct EmpresaComECF {
  EmpresaComECF() {
    empresa.Filial(1, "Loja", "SP", "Mercado");
    empresa.MestreFilial(1, "SP");
    empresa.Emissora(1, 1, "SERIE1", "Caixa");
    empresa.ECFPorFilial(false);
    empresa.ImpressoraEmulada("SERIE1");
    empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n"
                               "[SOFTWARE\\ZT Redudeva\\Torvo ECF]\nPath=" + instalacao.Pasta().string() + "\n");
    QMX_Inicializa(empresa.Chave().c_str(), 1, 0);
  }
  std::string Base() const { return (empresa.PastaEC() / "empresa.db").string(); }
  EmpresaTeste empresa;
  PastaTemporaria instalacao;
  ui::HostRoteirizado host;
  ui::HostTemporario ativo{host};
};

bool AlgumaCaixaCom(const ui::HostRoteirizado& host, const std::string& trecho) {
  for (const auto& caixa : host.Caixas())
    if (caixa.texto.find(trecho) != std::string::npos) return true;
  return false;
}

// Empty, foreign and broken database files: refused, left as they are, and
// the operator is told which file.
TEST(Sondagem, BaseVaziaOuEstranhaEhErroQueNomeiaOArquivo) {
  const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> casos = {
      {"vazia", [](const std::string& base) { fs::resize_file(base, 0); }},
      {"lixo", [](const std::string& base) { std::ofstream(base, std::ios::trunc) << std::string(5000, 'x'); }},
      {"de outro programa",
       [](const std::string& base) {
         fs::remove(base);
         sqlite3* outra = nullptr;
         sqlite3_open(base.c_str(), &outra);
         sqlite3_exec(outra, "CREATE TABLE clientes (x INTEGER)", nullptr, nullptr, nullptr);
         sqlite3_close(outra);
       }},
  };
  for (const auto& [nome, estraga] : casos) {
    EmpresaComECF e;
    dados::CPoolSessoes::Instancia().Descarta(e.empresa.Endereco());
    fs::remove(e.Base() + "-wal");
    fs::remove(e.Base() + "-shm");
    estraga(e.Base());
    const auto tamanho = fs::file_size(e.Base());
    dados::CConexaoFilial filiais;
    EXPECT_EQ(filiais.Inicializa(e.empresa.Chave(), 1, 0, false), dados::QMX_E_BASE_INVALIDA) << nome;
    EXPECT_EQ(fs::file_size(e.Base()), tamanho) << nome;
    char digest[33] = {};
    EXPECT_EQ(QMX_GerarMD5_PAFECF(digest, 1), 0) << nome;
    EXPECT_EQ(QMX_IdentificacaoPAFECF(), 0) << nome;
    EXPECT_EQ(e.host.Caixas().size(), 2u) << nome;
    EXPECT_TRUE(AlgumaCaixaCom(e.host, "Causa: o arquivo " + e.Base())) << nome << ": " << e.host.Caixas()[0].texto;
  }
}

TEST(Sondagem, ListaNaoSegueLinkSimbolicoESpoolRecebePecaInteiraOuFalha) {
  EmpresaComECF e;
  PastaTemporaria fora;
  const std::string alvo = fora.Grava("alheio.txt", "não mexer");
  fs::create_symlink(alvo, e.instalacao.Caminho("Torvo ECF.txt"));
  char digest[33] = {};
  ASSERT_EQ(QMX_GerarMD5_PAFECF(digest, 0), 1);
  EXPECT_EQ(PastaTemporaria::Le(alvo), "não mexer");
  EXPECT_FALSE(fs::is_symlink(e.instalacao.Caminho("Torvo ECF.txt")));
  EXPECT_EQ(PastaTemporaria::Le(e.instalacao.Caminho("Torvo ECF.txt")).substr(0, 2), "N1");
  // The printer's spool takes a whole piece or fails.
  unsigned char indice = 255;
  ASSERT_TRUE(impressora::BuscaIndiceRelatorioGerencial("IDENT. PAF-ECF", indice));
  ASSERT_TRUE(impressora::AbreRelatorioGerencial(indice));
  const std::string spool = impressora::ArquivoImpressao(impressora::LeConfiguracao());
  const auto antes = fs::file_size(spool);
  // A disk that takes 100 bytes more: the 8 KB piece fails and leaves nothing.
  EXPECT_TRUE(TerminaNoFilho([&] {
    const testes::LimiteTamanhoArquivo limite(static_cast<rlim_t>(antes + 100));
    std::string grande(8192, 'A');
    std::string pequena(100, 'B');
    return !impressora::RelatorioGerencial(grande.data()) && fs::file_size(spool) == antes &&
           impressora::RelatorioGerencial(pequena.data()) && fs::file_size(spool) == antes + 100;
  }));
  EXPECT_TRUE(impressora::FechaRelatorioGerencial());
}

TEST(Sondagem, DescriptografarRecusaValorQueNaoCabe) {
  char senha[32] = {};
  QMX_MontaSenha(1234, 77, senha);
  const struct {
    const char* quantia;
    bool aceita;
    std::int64_t valor;
  } casos[] = {
      {"92233720368547758", true, 9223372036854775800},   {"92233720368547759", false, 5},
      {"-92233720368547758", true, -9223372036854775800}, {"-92233720368547759", false, 5},
      {"99999999999999999999", false, 5},                 {"1234", true, 123400},
  };
  for (const auto& caso : casos) {
    char hexTexto[256] = {}, hexValor[256] = {}, texto[128] = {};
    QMX_Criptografar(1234, 77, "nome", caso.quantia, hexTexto, hexValor);
    std::int64_t valor = 5;
    EXPECT_EQ(QMX_Descriptografar(senha, hexTexto, hexValor, texto, &valor), caso.aceita ? 1 : 0) << caso.quantia;
    EXPECT_EQ(valor, caso.valor) << caso.quantia;
    EXPECT_STREQ(texto, "nome");
  }
}

}  // namespace
