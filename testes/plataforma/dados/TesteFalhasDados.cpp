#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "apoio/EmpresaTeste.h"
#include "apoio/RegistroTemporario.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoPlano.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/Migracoes.h"
#include "plataforma/dados/MigracoesEmbutidas.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/mensagens/MensagemSistema.h"
#include "plataforma/dados/PoolSessoes.h"
#if defined(QMX_COM_POSTGRES)
#include "plataforma/dados/SessaoPostgres.h"
#endif

using namespace qmx;
using namespace qmx::dados;
using namespace qmx::testes;

namespace {

TEST(FalhasDados, EmpresaSemBaseArquivoAusenteOuServidorParadoEhServidorIndisponivel) {
  PastaTemporaria pasta;
  RegistroTemporario registro("[SOFTWARE\\ZT Redudeva\\Empresas\\SUMIU]\nBaseDados=sqlite:" +
                              pasta.Caminho("nao-existe.db") + "\n[SOFTWARE\\ZT Redudeva\\Empresas\\PASTA]\nEC=" +
                              pasta.Caminho("ec") + "\n[SOFTWARE\\ZT Redudeva\\Empresas\\PG]\n"
                              "BaseDados=host=127.0.0.1 port=1 dbname=x connect_timeout=2\n");
  CConexaoFilial filial;
  EXPECT_EQ(filial.Inicializa("SUMIU", 1, 0, false), com::RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(filial.GetInterface(), nullptr);
  REG_FILIALPS f{};
  EXPECT_EQ(filial.Le(1, &f), QMX_E_NAO_INICIALIZADA);
  EXPECT_FALSE(std::filesystem::exists(pasta.Caminho("nao-existe.db")));  // never created by a reader
  EXPECT_EQ(filial.Inicializa("", 1, 0, false), com::RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(filial.Inicializa("DESCONHECIDA", 1, 0, false), com::RPC_S_SERVER_UNAVAILABLE);
  // Without "BaseDados" the database is empresa.db in the EC folder.
  EXPECT_EQ(*ResolveBaseEmpresa("PASTA"), "sqlite:" + pasta.Caminho("ec") + "/empresa.db");
  EXPECT_EQ(filial.Inicializa("PASTA", 1, 0, false), com::RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(filial.Inicializa("PG", 1, 0, false), com::RPC_S_SERVER_UNAVAILABLE);  // no server on port 1
}

TEST(FalhasDados, SessaoDerrubadaPeloServidorEhReabertaForaDeTransacao) {
  if (!EmpresaTeste::PostgresDisponivel()) GTEST_SKIP() << "sem servidor PostgreSQL de teste";
  EmpresaTeste empresa(MotorTeste::Postgres);
  empresa.Filial(1, "Loja", "SP", "Razão");
  CGravadorCatalogo(empresa.Gravador().Sessao())
      .GravaConta(REG_PLANO_CONTAPS{.Codigo = "1.1.01", .Descricao = "CAIXA", .Analitica = 1});
  {
    CConexaoFilial filial;
    ASSERT_EQ(filial.Inicializa(empresa.Chave(), 1, 0, false), com::S_OK);
  }
  ASSERT_EQ(CPoolSessoes::Instancia().Ociosas(empresa.Endereco()), 1u);
  // The server ends the sessions of this company (a restart, an
  // administrator): the pooled session is dead without knowing it.
  auto admin = AbreSessao(std::getenv("QMX_TESTE_POSTGRES"));
  admin->Consulta(
      "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = ?", {empresa.Esquema()});
  CConexaoFilial filial;
  ASSERT_EQ(filial.Inicializa(empresa.Chave(), 1, 0, false), com::S_OK);
  REG_FILIALPS f{};
  EXPECT_EQ(filial.Le(1, &f), com::S_OK);
  EXPECT_STREQ(f.NomeFantasia, "Loja");
  // Reads sent together (two pieces of codes) find their server again the
  // same way, and are sent once more.
  std::vector<std::string> codigos{"1.1.01"};
  for (int n = 0; n < 300; ++n) codigos.push_back("9." + std::to_string(n));
  admin->Consulta(
      "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = ?", {empresa.Esquema()});
  CConexaoPlano plano;
  ASSERT_EQ(plano.Inicializa(empresa.Chave(), 1, 0), com::S_OK);
  std::map<std::string, REG_PLANO_CONTAPS> contas;
  ASSERT_EQ(plano.LeContas(codigos, &contas), com::S_OK);
  ASSERT_EQ(contas.size(), 1u);
  EXPECT_STREQ(contas.at("1.1.01").Descricao, "CAIXA");
}

TEST(PoolSessoes, ConexoesUsamUmaSessaoSoDuranteCadaOperacao) {
  EmpresaTeste empresa;
  empresa.Filial(1, "Loja", "SP", "Razão");
  CPoolSessoes::Instancia().Descarta(empresa.Endereco());
  const auto ociosas = [&] { return CPoolSessoes::Instancia().Ociosas(empresa.Endereco()); };
  REG_FILIALPS f{};
  {
    CConexaoFilial a;
    ASSERT_EQ(a.Inicializa(empresa.Chave(), 1, 0, false), com::S_OK);
    EXPECT_EQ(ociosas(), 1u);  // reached once, then back in the pool
    CConexaoFilial b;
    ASSERT_EQ(b.Inicializa(empresa.Chave(), 1, 0, false), com::S_OK);
    EXPECT_EQ(ociosas(), 1u);  // the same session served both
    EXPECT_EQ(a.Le(1, &f), com::S_OK);
    EXPECT_EQ(b.Le(1, &f), com::S_OK);
    EXPECT_EQ(ociosas(), 1u);
    {
      // Inside a transaction the operations use its session: none other
      // is taken from the pool or opened.
      CTransacaoDados transacao;
      ASSERT_EQ(transacao.Inicia(empresa.Chave()), com::S_OK);
      EXPECT_EQ(ociosas(), 0u);
      EXPECT_EQ(a.Le(1, &f), com::S_OK);
      EXPECT_STREQ(f.NomeFantasia, "Loja");
      EXPECT_EQ(ociosas(), 0u);
    }
    EXPECT_EQ(ociosas(), 1u);
    b.Finaliza();
    b.Finaliza();  // twice is harmless
    EXPECT_EQ(b.Le(1, &f), QMX_E_NAO_INICIALIZADA);
    EXPECT_EQ(a.Le(1, &f), com::S_OK);
  }
  EXPECT_EQ(ociosas(), 1u);
}

TEST(Migracoes, VersaoGravadaEReaplicarNaoMudaNada) {
  PastaTemporaria pasta;
  auto sessao = AbreSessao("sqlite:" + pasta.Caminho("nova.db"), true);
  EXPECT_EQ(AplicaMigracoes(*sessao), VersaoMaisRecente());
  EXPECT_GE(VersaoMaisRecente(), 1);
  sessao->Executa("INSERT INTO estado (codigo, sigla, nome) VALUES (?, ?, ?)", {35, "SP", "x"});
  EXPECT_EQ(AplicaMigracoes(*sessao), VersaoMaisRecente());
  EXPECT_EQ(sessao->Consulta("SELECT COUNT(*) FROM estado", {})[0].Inteiro(0), 1);
  EXPECT_EQ(sessao->Consulta("SELECT COUNT(*) FROM qmx_esquema", {})[0].Inteiro(0), VersaoMaisRecente());
}

// A company database of the first version, with its registers.
std::string BaseDaPrimeiraVersao(const PastaTemporaria& pasta) {
  const std::string arquivo = pasta.Caminho("antiga.db");
  auto sessao = AbreSessao("sqlite:" + arquivo, true);
  sessao->ExecutaScript("CREATE TABLE qmx_esquema (versao INTEGER PRIMARY KEY, nome TEXT NOT NULL)");
  sessao->ExecutaScript(kMigracoesEmbutidas[0].sql);
  sessao->Executa("INSERT INTO qmx_esquema (versao, nome) VALUES (1, ?)", {kMigracoesEmbutidas[0].nome});
  sessao->Executa("INSERT INTO filial (numero, nome_fantasia, cnpj) VALUES (4, 'Loja Velha', '12.345.678/0004-90')", {});
  sessao->Executa("INSERT INTO emissora (numero, filial, numero_serie) VALUES (9, 4, 'ANTIGA')", {});
  return arquivo;
}

TEST(Migracoes, BaseAntigaMigradaNoLugarSemPerderNada) {
  PastaTemporaria pasta;
  const std::string arquivo = BaseDaPrimeiraVersao(pasta);
  RegistroTemporario registro("[SOFTWARE\\ZT Redudeva\\Empresas\\VELHA]\nBaseDados=sqlite:" + arquivo + "\n");
  CConexaoEmissora emissoras;
  ASSERT_EQ(emissoras.Inicializa("VELHA", 1, 0), com::S_OK);
  REG_EMISSORPS e{};
  ASSERT_EQ(emissoras.Le(9, &e), com::S_OK);
  EXPECT_STREQ(e.NumeroSerie, "ANTIGA");
  EXPECT_EQ(e.GradeProdutos, 0);  // the new columns, empty
  CConexaoFilial filiais;
  ASSERT_EQ(filiais.Inicializa("VELHA", 1, 0, false), com::S_OK);
  REG_FILIALPS f{};
  ASSERT_EQ(filiais.Le(4, &f), com::S_OK);
  EXPECT_STREQ(f.NomeFantasia, "Loja Velha");
  EXPECT_STREQ(f.Contato, "");
  auto sessao = AbreSessao("sqlite:" + arquivo, false);
  EXPECT_EQ(sessao->Consulta("SELECT MAX(versao) FROM qmx_esquema", {})[0].Inteiro(0), VersaoMaisRecente());
  EXPECT_EQ(sessao->Consulta("SELECT COUNT(*) FROM cupom_item", {})[0].Inteiro(0), 0);
}

TEST(Migracoes, BaseMaisNovaRecusadaIntacta) {
  PastaTemporaria pasta;
  const std::string arquivo = pasta.Caminho("nova.db");
  {
    auto sessao = AbreSessao("sqlite:" + arquivo, true);
    AplicaMigracoes(*sessao);
    sessao->Executa("INSERT INTO qmx_esquema (versao, nome) VALUES (?, 'do futuro')", {VersaoMaisRecente() + 1});
    sessao->ExecutaScript("CREATE TABLE do_futuro (x INTEGER)");
  }
  RegistroTemporario registro("[SOFTWARE\\ZT Redudeva\\Empresas\\NOVA]\nBaseDados=sqlite:" + arquivo + "\n");
  CConexaoFilial filiais;
  EXPECT_EQ(filiais.Inicializa("NOVA", 1, 0, false), QMX_E_BASE_MAIS_NOVA);
  EXPECT_EQ(filiais.GetInterface(), nullptr);
  auto sessao = AbreSessao("sqlite:" + arquivo, false);
  EXPECT_THROW(AplicaMigracoes(*sessao), CErroDados);
  EXPECT_EQ(sessao->Consulta("SELECT MAX(versao) FROM qmx_esquema", {})[0].Inteiro(0), VersaoMaisRecente() + 1);
  EXPECT_EQ(sessao->Consulta("SELECT COUNT(*) FROM qmx_esquema", {})[0].Inteiro(0), VersaoMaisRecente() + 1);
  EXPECT_EQ(mensagens::TextoErroSistema(static_cast<std::uint32_t>(QMX_E_BASE_MAIS_NOVA)),
            "A base de dados da empresa é de uma versão mais nova do sistema.");
}

#if defined(QMX_COM_POSTGRES)  // a build without libpq has no PostgreSQL session
TEST(Migracoes, MarcadoresDoPostgresForaDeAspas) {
  EXPECT_EQ(CSessaoPostgres::Numera("SELECT a FROM t WHERE b = ? AND c = '?' AND d = ?"),
            "SELECT a FROM t WHERE b = $1 AND c = '?' AND d = $2");
}
#endif

}  // namespace
