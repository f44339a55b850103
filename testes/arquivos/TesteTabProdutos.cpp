// The Tabela de Produtos file of a branch and two price tables, compared
// byte for byte with a file checked by hand against the layout; its checks
// and failures.
#include <gtest/gtest.h>

#include <set>

#include "apoio/LimiteTamanhoArquivo.h"
#include "apoio/MovimentoTeste.h"
#include "arquivos/paf/QMXTabProdutos.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/processo/Sistema.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

class TabProdutos : public ::testing::Test, protected CenarioArquivos {
 protected:
  TabProdutos() : CenarioArquivos(Cadastro::PAF) {}
  // Every tax situation and unit form, codes that sort differently as text
  // and as numbers, a product and a service of the same code, items whose
  // product or service is gone, a product of another table only.
  void Catalogo() {
    m.Produto(12, "REFRIGERANTE COLA 2L");
    m.Produto(3, "ARROZ TIPO 1 5KG").Tributacao('T', 700).Unidade(2, true).Producao();
    m.Produto(40, "LEITE INTEGRAL").Tributacao('I', 0);
    m.Produto(41, "JORNAL").Tributacao('N', 0);
    m.Produto(50, "REFRIGERANTE LARANJA").Tributacao('F', 1800);
    m.Produto(51, "CAFÉ TORRADO E MOÍDO EXTRA FORTE EMBALAGEM A VÁCUO 500G").Tributacao('X', 1200);
    m.Produto(60, "APAGADO DO CADASTRO");
    m.Produto(70, "SÓ NA OUTRA TABELA");
    m.Produto(2147483647, "ÚLTIMO CÓDIGO");
    m.Servico(5, "ENTREGA EM DOMICÍLIO", 500).Producao = 1;
    m.Servico(12, "INSTALAÇÃO", 250);
    m.Servico(100, "MONTAGEM", 1200).UnidadeInterrogacao = 1;
    m.Grava();
    dados::CGravadorCatalogo catalogo(empresa.Gravador().Sessao());
    catalogo.ExcluiProduto(60);
    catalogo.GravaTabelaPreco({QMX_TABELA_PRODUTOS, 1, "VAREJO"});
    catalogo.GravaTabelaPreco({QMX_TABELA_PRODUTOS, 2, "ATACADO"});
    catalogo.GravaTabelaPreco({QMX_TABELA_SERVICOS, 7, "SERVIÇOS"});
    const struct {
      std::uint8_t tipo;
      std::uint16_t tabela;
      std::uint32_t item;
      double preco;
    } itens[] = {{1, 1, 12, 7.99},    {1, 1, 3, 25.5},  {1, 1, 40, 4.999},  {1, 1, 41, 1.5},
                 {1, 1, 50, 1234567.89}, {1, 1, 51, 0}, {1, 1, 60, 9},      {1, 1, 2147483647, 1},
                 {1, 2, 70, 3},       {2, 7, 5, 10},    {2, 7, 12, 150},    {2, 7, 100, 80.5},
                 {2, 7, 200, 5}};
    for (const auto& i : itens) catalogo.GravaItemTabelaPreco({i.tipo, i.tabela, i.item, Valor(i.preco)});
  }
  static std::string Roteiro(const std::string& filial, const std::string& produtos, const std::string& servicos) {
    return "dialogo 14002\ndigita 14000 " + filial + "\ndigita 14001 " + produtos + "\ndigita 14003 " + servicos +
           "\nclica 1\n";
  }
  std::string Arquivo(const std::string& nome) { return Gerado(nome); }
};

TEST_F(TabProdutos, ArquivoIgualAoConferido) {
  Catalogo();
  ASSERT_EQ(Executa<CQMXTabProdutos>(Roteiro("1", "1", "7")), ui::IDOK)
      << testing::PrintToString(host.Erros()) << UltimaCaixa();
  ConfereGolden(Arquivo("TabelaProdutos0107.txt"), "tabela-produtos.txt");
  ASSERT_EQ(host.Caixas().size(), 1u);
  EXPECT_EQ(host.Caixas()[0].texto, "Arquivo gerado em\r\n" + CaminhoMostrado("TabelaProdutos0107.txt"));
  EXPECT_EQ(host.Caixas()[0].titulo, "Torvo ECF - Arquivo Eletrônico");
  EXPECT_EQ(temporarios.Entradas(), 0);
  // The names of the branch and of both tables beside their edits.
  const auto& fim = host.Dialogos()[0].aoFechar;
  EXPECT_EQ(std::tuple(fim.at(14004).texto, fim.at(14005).texto, fim.at(14006).texto),
            std::tuple("Mercado Ávila Centro", "VAREJO", "SERVIÇOS"));
}

// In order: no branch, no product table, no service table; a table of the
// other kind is no table. Each check stops the OK with its notice, the
// printer layer's.
TEST_F(TabProdutos, VerificacoesAntesDeGerar) {
  Catalogo();
  const std::string kFilial = "Para gerar o arquivo, por favor selecione uma Filial";
  const std::string kTabela = "Para gerar o arquivo, por favor selecione uma Tabela de Preco";
  const struct {
    const char *filial, *produtos, *servicos;
    std::string mensagem;
  } casos[] = {{"", "1", "7", kFilial},  {"0", "1", "7", kFilial}, {"9", "1", "7", kFilial}, {"1", "", "7", kTabela},
               {"1", "7", "7", kTabela}, {"1", "1", "", kTabela},  {"1", "1", "1", kTabela}};
  for (const auto& caso : casos) {
    host.Limpa();
    EXPECT_EQ(Executa<CQMXTabProdutos>(Roteiro(caso.filial, caso.produtos, caso.servicos)), ui::IDCANCEL);
    ASSERT_EQ(host.Caixas().size(), 1u) << caso.filial << caso.produtos << caso.servicos;
    EXPECT_EQ(TextoETitulo(host, 0), std::tuple(caso.mensagem, "Torvo ECF")) << caso.filial << caso.produtos << caso.servicos;
  }
  EXPECT_TRUE(NadaEnviado());
}

// Each failed read ends the generation with its own notice and nothing
// stored; a failure of the checks' look-ups reads as a missing choice.
TEST_F(TabProdutos, CadaLeituraQueFalhaTemSuaMensagem) {
  Catalogo();
  const std::set<std::string> falhas = {
      "Não foi possível ler o cadastro de filiais", "Não foi possível buscar a Razão Social",
      "Não foi possível buscar os itens da Tabela de Preços de Produtos",
      "Não foi possível buscar os itens da Tabela de Preços de Serviço"};
  std::set<std::string> vistas;
  FalhaCadaPasso<CQMXTabProdutos>(Roteiro("1", "1", "7"), [&](int passo, int resultado) {
    if (resultado == ui::IDOK) {
      EXPECT_EQ(UltimaCaixa().rfind("Arquivo gerado em", 0), 0u) << passo;
      return;
    }
    EXPECT_TRUE(NadaEnviado()) << passo;
    if (falhas.count(UltimaCaixa())) vistas.insert(UltimaCaixa());
    else EXPECT_EQ(UltimaCaixa().rfind("Para gerar o arquivo, por favor selecione uma ", 0), 0u) << passo;
  });
  EXPECT_EQ(vistas, falhas);
  EXPECT_EQ(temporarios.Entradas(), 0);
}

#if !defined(_WIN32)  // a full disk is injected with RLIMIT_FSIZE
TEST_F(TabProdutos, SemArquivoTemporarioOuSemAssinaturaNadaEEnviado) {
  Catalogo();
  qmx::sistema::DefineVariavel(qmx::testes::kVariavelTemporarios, (temporarios.Pasta() / "nao-existe").string());
  EXPECT_EQ(Executa<CQMXTabProdutos>(Roteiro("1", "1", "7")), ui::IDCANCEL);
  EXPECT_EQ(UltimaCaixa(), "Não conseguiu abrir o Arquivo de Saída");
  EXPECT_TRUE(NadaEnviado());

  // The file fits the limit; the signed one, 261 bytes longer, does not.
  qmx::sistema::DefineVariavel(qmx::testes::kVariavelTemporarios, temporarios.Pasta().string());
  host.Limpa();
  const auto tamanho = Golden("tabela-produtos.txt").size();
  EXPECT_EQ(ComLimite(tamanho + 100, [&] { return Executa<CQMXTabProdutos>(Roteiro("1", "1", "7")); }), ui::IDCANCEL);
  EXPECT_TRUE(host.Caixas().empty()) << UltimaCaixa();
  EXPECT_TRUE(NadaEnviado());
  EXPECT_EQ(temporarios.Entradas(), 0);
}
#endif  // !_WIN32

}  // namespace
