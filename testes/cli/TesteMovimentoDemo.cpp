// The demonstration company's month of movement, read back: it must
// contain every kind of record the files treat apart. (That its reductions,
// documents and cupons hold together as an ECF's memory does is a property
// of the files over the varied companies.)
#include <gtest/gtest.h>

#ifdef QMX_DEMO

#include <memory>
#include <sstream>
#include <string>

#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "cli/EmpresaDemo.h"
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
// each case a paragraph); the login that the demonstration shows opens the
// authorization.
TEST_F(MovimentoDemo, TemCadaTipoDeRegistro) {
  std::istringstream censo(PastaTemporaria::Le(QMX_FONTES_TESTES "/cli/dados/censo-demo.txt"));
  auto sessao = AbreSessao(s_demo->endereco);
  int casos = 0;
  for (std::string descricao, sql, esperado, vazia; std::getline(censo, descricao) && std::getline(censo, sql) &&
                                                    std::getline(censo, esperado);
       std::getline(censo, vazia), ++casos)
    EXPECT_EQ(Linhas(*sessao, sql), esperado) << descricao;
  EXPECT_EQ(casos, 25);

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
