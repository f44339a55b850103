// The same company gives the same files on both engines: the demonstration's
// company and two varied ones, each built once in a SQLite file and once on
// a PostgreSQL server (qmx demo --base), and every file they generate
// compared byte for byte. Only what carries the clock may differ: the
// seconds in the names of the Sintegra and Venda do Período files, the
// generation time in the Estoque file's E1 line, and so the EAD lines. The
// integration of the day is compared through its conference, which reads
// back what each pass wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "apoio/EmpresaTeste.h"
#include "apoio/PastaTemporaria.h"
#include "apoio/ProgramaQmx.h"
#include "plataforma/texto/Windows1252.h"

using namespace qmx::testes;
namespace fs = std::filesystem;

namespace {

// A file as both engines must give it: without its EAD line, and for the
// Estoque file without the time it was made (the end of its first line).
std::string SemRelogio(const fs::path& arquivo) {
  std::string texto = PastaTemporaria::Le(arquivo.string());
  if (const auto ead = texto.rfind("\r\nEAD"); ead != std::string::npos) texto.resize(ead + 2);
  if (arquivo.filename().string().rfind("Estoque", 0) == 0) {
    const auto fim = texto.find("\r\n");
    if (fim != std::string::npos && fim >= 14) texto.replace(fim - 14, 14, 14, '#');
  }
  return texto;
}

// The files of the company's folder, sorted, the clock's seconds of the ZTR
// names blanked (their order is the order they were made in, the same on
// both).
std::vector<std::pair<std::string, fs::path>> Arquivos(const fs::path& pasta) {
  std::vector<std::pair<std::string, fs::path>> arquivos;
  for (const auto& e : fs::directory_iterator(pasta / "DEMO" / "Arquivos-Eletronicos"))
    arquivos.emplace_back(e.path().filename().string(), e.path());
  std::sort(arquivos.begin(), arquivos.end());
  for (auto& [nome, caminho] : arquivos)
    if (nome.rfind("ZTR", 0) == 0 && nome.size() > 10) nome.replace(nome.size() - 10, 6, "######");
  return arquivos;
}

// The demonstration's integration of the day, without its log's times and
// paths.
std::string Integracao(const std::string& saida) {
  const auto inicio = saida.find("== Integra");
  const auto fim = saida.find("\n== ", inicio + 1);
  std::string resultado;
  std::size_t i = inicio;
  while (i < fim) {
    const auto quebra = saida.find('\n', i);
    const std::string linha = saida.substr(i, quebra - i);
    const bool doLog = linha.rfind("  Log (", 0) == 0 || (linha.size() > 12 && linha.compare(0, 4, "    ") == 0 &&
                                                         linha[6] == '/' && linha[9] == '/' && linha[15] == ':');
    if (!doLog) resultado += linha + "\n";
    i = quebra + 1;
  }
  return resultado;
}

class MesmosArquivosNosMotores : public ::testing::TestWithParam<const char*> {};

TEST_P(MesmosArquivosNosMotores, CadaArquivoIgualByteAByte) {
  if (!EmpresaTeste::PostgresDisponivel()) GTEST_SKIP() << "sem servidor PostgreSQL de teste (QMX_TESTE_POSTGRES)";
  // A schema of its own on the test server, its tables made, no company.
  EmpresaTeste servidor(MotorTeste::Postgres, "SERVIDOR");
  PastaTemporaria pasta;
  const std::string comum = std::string("demo --mes 11/2026 ") + GetParam();
  const Execucao sqlite = Qmx(comum + " --pasta '" + pasta.Caminho("sqlite") + "'");
  ASSERT_EQ(sqlite.codigo, 0) << sqlite.saida;
  const Execucao postgres = Qmx(comum + " --pasta '" + pasta.Caminho("postgres") + "' --base \"" + servidor.Endereco() + "\"");
  ASSERT_EQ(postgres.codigo, 0) << postgres.saida;

  const auto deSQLite = Arquivos(pasta.Caminho("sqlite"));
  const auto dePostgres = Arquivos(pasta.Caminho("postgres"));
  ASSERT_EQ(deSQLite.size(), dePostgres.size());
  ASSERT_GE(deSQLite.size(), 9u);
  for (std::size_t i = 0; i < deSQLite.size(); ++i) {
    EXPECT_EQ(deSQLite[i].first, dePostgres[i].first);
    EXPECT_TRUE(SemRelogio(deSQLite[i].second) == SemRelogio(dePostgres[i].second))
        << deSQLite[i].first << " difere entre SQLite e PostgreSQL";
  }
  const std::string integracao = Integracao(sqlite.saida);
  EXPECT_NE(integracao.find(qmx::texto::ParaUtf8("confere: os livros do dia são os cupons, a redução Z e a gaveta")), std::string::npos) << integracao;
  EXPECT_EQ(Integracao(postgres.saida), integracao);

  // The server's company is not built over: a second demonstration there
  // is refused.
  ConfereSaida(Qmx(comum + " --pasta '" + pasta.Caminho("outra") + "' --base \"" + servidor.Endereco() + "\""), 2,
               {qmx::texto::ParaUtf8("já tem uma empresa")});
}

INSTANTIATE_TEST_SUITE_P(Empresas, MesmosArquivosNosMotores, ::testing::Values("", "--variada 7", "--variada 23"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(*info.param ? "Variada" : "Demonstracao") + std::to_string(info.index);
                         });

}  // namespace
