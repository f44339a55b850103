// The demonstration company's month of movement, read back: it must
// contain every kind of record the files treat apart and be the same on
// every run. (That its reductions, documents and cupons hold together as an
// ECF's memory does is a property of the files over the varied companies.)
#include <gtest/gtest.h>

#ifdef QMX_DEMO

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "cli/EmpresaDemo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/PoolSessoes.h"

using namespace qmx;
using namespace qmx::dados;
using namespace qmx::testes;

namespace {

// Every row of a statement, columns joined by "|" and rows by ";".
std::string Linhas(CSessaoDados& sessao, const std::string& sql) {
  std::string texto;
  for (const auto& l : sessao.Consulta(sql, {})) {
    if (!texto.empty()) texto += ";";
    for (std::size_t i = 0; i < l.Colunas(); ++i) texto += (i ? "|" : "") + l.Texto(i);
  }
  return texto;
}

// Every row of every table, each table in the order of all its columns;
// the salted password hashes are left out (they differ on purpose).
std::string Despejo(const std::string& endereco) {
  auto sessao = AbreSessao(endereco);
  std::string texto;
  for (const auto& tabela : sessao->Consulta("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", {})) {
    std::string colunas;
    for (const auto& c : sessao->Consulta("SELECT name FROM pragma_table_info(?)", {tabela.Texto(0)}))
      if (c.Texto(0) != "senha_sal" && c.Texto(0) != "senha_hash")
        colunas += (colunas.empty() ? "" : ", ") + c.Texto(0);
    texto += "== " + tabela.Texto(0) + "\n" +
             Linhas(*sessao, "SELECT " + colunas + " FROM " + tabela.Texto(0) + " ORDER BY " + colunas) + "\n";
  }
  return texto;
}

// The demonstration company, made once for the suite as company "DEMO".
struct EmpresaDemo {
  PastaTemporaria pasta;
  std::string endereco = "sqlite:" + pasta.Caminho("demo.db");
  bool criada = (cli::CriaEmpresaDemo(endereco, {}), true);
  RegistroTemporario registro{"[SOFTWARE\\ZT Redudeva\\Empresas\\DEMO]\nBaseDados=" + endereco + "\n"};
  ~EmpresaDemo() { CPoolSessoes::Instancia().Descarta(endereco); }
};

class MovimentoDemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_demo = std::make_unique<EmpresaDemo>(); }
  static void TearDownTestSuite() { s_demo.reset(); }
  static inline std::unique_ptr<EmpresaDemo> s_demo;
};

// Every kind of record the files treat apart is there, in the numbers of
// the census beside the tests (a description, a statement and its rows,
// each case a paragraph); a second run writes the very same rows; the
// login that the demonstration shows opens the authorization.
TEST_F(MovimentoDemo, TemCadaTipoDeRegistroESaiIgualEmCadaExecucao) {
  std::istringstream censo(PastaTemporaria::Le(QMX_FONTES_TESTES "/cli/dados/censo-demo.txt"));
  auto sessao = AbreSessao(s_demo->endereco);
  int casos = 0;
  for (std::string descricao, sql, esperado, vazia; std::getline(censo, descricao) && std::getline(censo, sql) &&
                                                    std::getline(censo, esperado);
       std::getline(censo, vazia), ++casos)
    EXPECT_EQ(Linhas(*sessao, sql), esperado) << descricao;
  EXPECT_EQ(casos, 25);

  const std::string outra = "sqlite:" + s_demo->pasta.Caminho("outra.db");
  cli::CriaEmpresaDemo(outra, {});
  const std::string a = Despejo(s_demo->endereco), b = Despejo(outra);
  const auto diferenca = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
  EXPECT_EQ(a.size(), b.size());
  EXPECT_EQ(a.substr(static_cast<std::size_t>(diferenca), 200), b.substr(static_cast<std::size_t>(diferenca), 200));

  CConexaoUsuario usuarios;
  ASSERT_EQ(usuarios.Inicializa("DEMO", 1, 0), com::S_OK);
  std::uint16_t codigo = 99;
  ASSERT_EQ(usuarios.Autentica(cli::kLoginDemo, cli::kSenhaDemo, &codigo), com::S_OK);
  EXPECT_EQ(codigo, 1);
  ASSERT_EQ(usuarios.Autentica(cli::kLoginDemo, "avila2025", &codigo), com::S_OK);
  EXPECT_EQ(codigo, 0);
}

}  // namespace

#endif
