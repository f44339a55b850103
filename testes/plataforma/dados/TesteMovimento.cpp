// The movement's connection classes on both engines: what each reader
// gives back of what the company recorded, in the order the files rely on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "apoio/MovimentoTeste.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoFormaPagamento.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ConexaoServidorEC.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "apoio/Motores.h"

using namespace qmx;
using namespace qmx::dados;
using namespace qmx::testes;

namespace {

const NumeroDia kDia1 = CodificaDia(2, 11, 2026);
const NumeroDia kDia2 = CodificaDia(3, 11, 2026);
const NumeroDia kDia3 = CodificaDia(4, 11, 2026);

class MovimentoLido : public TesteMotores {
 protected:
  void SetUp() override {
    TesteMotores::SetUp();
    if (!empresa) return;
    empresa->Gravador().Inicia();
    empresa->Filial(1, "Loja Centro", "SP", "Comércio Ávila Ltda");
    empresa->Filial(2, "Loja Norte", "MG", "Comércio Ávila Ltda");
    empresa->Emissora(1, 1, "SERIE-1");
    empresa->Emissora(2, 1, "SERIE-2");
    empresa->Emissora(3, 2, "SERIE-3");
    empresa->Gravador().Confirma();
    m = std::make_unique<MovimentoTeste>(*empresa);
    m->Produto(10, "ARROZ 5KG").Tributacao('T', 1800).PisCofins(2, kDia2, 0, 760).PisCofins(1, kDia1, kDia2, 165);
    m->Produto(20, "REFRIGERANTE").Tributacao('F', 0, "060").Unidade(2, true);
    m->Produto(30, "LEITE").Tributacao('I', 0, "040").Producao();
  }
  template <class Conexao>
  std::unique_ptr<Conexao> Conecta() {
    auto c = std::make_unique<Conexao>();
    EXPECT_EQ(c->Inicializa(empresa->Chave(), 1, 0), com::S_OK);
    return c;
  }
  // What a walk saw, cupom by cupom: (ECF, date, COO, items, payments).
  using Visto = std::tuple<int, int, int, std::vector<int>, std::vector<std::int64_t>>;
  static PorCupom Anota(std::vector<Visto>& vistos, std::size_t parar = 0) {
    return [&vistos, parar](const REG_EC_CXPS& c, const std::vector<REG_EC_CX_CIPS>& itens,
                            const std::vector<REG_EC_CX_PAGAMENTOPS>& pagamentos) {
      std::vector<int> codigos;
      for (const auto& i : itens) codigos.push_back(static_cast<int>(i.Codigo));
      std::vector<std::int64_t> valores;
      for (const auto& p : pagamentos) valores.push_back(p.Valor.int64);
      vistos.emplace_back(c.Emissora, c.Data - kDia1, c.COO, codigos, valores);
      return vistos.size() != parar;
    };
  }
  std::unique_ptr<MovimentoTeste> m;
};

TEST_P(MovimentoLido, ProdutoTemDadosFiscaisSoNaLeituraDaFilial) {
  m->Grava();
  auto produtos = Conecta<CConexaoDFSPRO>();
  REG_PRODUTOPS p{};
  ASSERT_EQ(produtos->Le(20, 1, &p), com::S_OK);
  EXPECT_EQ(std::tuple(std::string(p.Descricao), p.Tributacao, std::string(p.SituacaoTributaria), p.Unidade,
                       p.UnidadeInterrogacao, p.Filial),
            std::tuple("REFRIGERANTE", 'F', "060", 2, 1, 1));
  // Another branch, and the light read, carry no tax data.
  for (auto le : {+[](CConexaoProduto& c, REG_PRODUTOPS* r) { return c.Le(20, 2, r); },
                  +[](CConexaoProduto& c, REG_PRODUTOPS* r) { return c.LeLight(20, r); }}) {
    REG_PRODUTOPS sem{};
    ASSERT_EQ(le(*produtos, &sem), com::S_OK);
    EXPECT_EQ(std::tuple(std::string(sem.Descricao), sem.Filial, sem.Tributacao, sem.AliquotaICMS),
              std::tuple("REFRIGERANTE", 0, '\0', 0));
  }

  std::vector<std::pair<std::uint32_t, char>> todos;
  ASSERT_EQ(produtos->PercorreProdutos(1, [&](const REG_PRODUTOPS& r) {
    todos.emplace_back(r.Codigo, r.Tributacao);
    return true;
  }), com::S_OK);
  EXPECT_EQ(todos, (std::vector<std::pair<std::uint32_t, char>>{{10, 'T'}, {20, 'F'}, {30, 'I'}}));

  // A product deleted since it was sold is not found, and the record the
  // caller gave stays as it was.
  CGravadorCatalogo(empresa->Gravador().Sessao()).ExcluiProduto(30);
  REG_PRODUTOPS intacto{};
  intacto.Codigo = 777;
  EXPECT_EQ(produtos->Le(30, 1, &intacto), QMX_E_REGISTRO_INEXISTENTE);
  EXPECT_EQ(intacto.Codigo, 777u);
}

// The files read notas by period (pinned by their golden files); the
// payments of a nota come back in their order, and a nota may have none.
TEST_P(MovimentoLido, PagamentosDaNotaNaOrdem) {
  m->Nota(101, kDia1).Item(10, 2, 30).Pagamento(1, 30).Pagamento(2, 10);
  m->Nota(102, kDia2).Item(20, 1, 5);
  m->Grava();
  auto notas = Conecta<CConexaoServidorEC>();
  std::vector<std::uint32_t> ids;
  ASSERT_EQ(notas->ListaNotas(1, kDia1, kDia3, &ids), com::S_OK);
  ASSERT_EQ(ids.size(), 2u);
  std::vector<REG_NF_PAGAMENTOPS> pagamentos;
  ASSERT_EQ(notas->LePagamentosNota(ids[0], &pagamentos), com::S_OK);
  ASSERT_EQ(pagamentos.size(), 2u);
  EXPECT_EQ(std::tuple(pagamentos[1].Forma, pagamentos[1].Valor.int64), std::tuple(2, 100000));
  ASSERT_EQ(notas->LePagamentosNota(ids[1], &pagamentos), com::S_OK);
  EXPECT_TRUE(pagamentos.empty());
}

TEST_P(MovimentoLido, SenhaConferidaPeloHashSalgado) {
  empresa->Usuario(7, "Caixa Sete", {1});
  empresa->Usuario(8, "Caixa Oito", {1});
  empresa->Gravador().GravaSenhaUsuario(7, "joão", "s3nh@");
  empresa->Gravador().GravaSenhaUsuario(8, "ana", "s3nh@");
  auto usuarios = Conecta<CConexaoUsuario>();
  const struct {
    const char* login;
    const char* senha;
    std::uint16_t codigo;
  } casos[] = {{"joão", "s3nh@", 7}, {"ana", "s3nh@", 8}, {"joão", "s3nh", 0}, {"joão", "s3nh@ ", 0},
               {"JOÃO", "s3nh@", 0}, {"pedro", "s3nh@", 0}, {"", "", 0}};
  for (const auto& c : casos) {
    std::uint16_t codigo = 99;
    ASSERT_EQ(usuarios->Autentica(c.login, c.senha, &codigo), com::S_OK);
    EXPECT_EQ(codigo, c.codigo) << c.login << "/" << c.senha;
  }
  // Neither the password nor a shared hash is stored: same password, other salt.
  const auto linhas = empresa->Gravador().Sessao().Consulta(
      "SELECT senha_sal, senha_hash FROM usuario WHERE codigo IN (7, 8) ORDER BY codigo", {});
  ASSERT_EQ(linhas.size(), 2u);
  EXPECT_NE(linhas[0].Texto(0), linhas[1].Texto(0));
  EXPECT_NE(linhas[0].Texto(1), linhas[1].Texto(1));
  EXPECT_EQ(linhas[0].Texto(1).size(), 64u);
  EXPECT_EQ(linhas[0].Texto(1).find("s3nh"), std::string::npos);
}

TEST_P(MovimentoLido, LimitesDeValorDataZeroETextoForaDoWindows1252) {
  auto& c = m->Cupom(1, 0).Item(10, 1, 1);
  c.itens[0].ValorTotal = CY{INT64_MAX};
  c.itens[0].Desconto = CY{INT64_MIN};
  m->Grava();
  // A description typed elsewhere with characters Windows-1252 lacks.
  empresa->Gravador().Sessao().Executa("UPDATE cupom_item SET descricao = ? WHERE codigo = 10",
                                       {std::string("CAF\xC3\x89 \xE2\x98\x95 \xE4\xB8\xAD")});
  auto caixa = Conecta<CConexaoECSCX>();
  REG_EC_CX_CIPS item{};
  ASSERT_EQ(caixa->PercorreCupons(1, 0, 0, [&](const auto&, const auto& itens, const auto&) {
    item = itens.at(0);
    return true;
  }), com::S_OK);
  EXPECT_EQ(item.ValorTotal.int64, INT64_MAX);
  EXPECT_EQ(item.Desconto.int64, INT64_MIN);
  EXPECT_STREQ(item.Descricao, "CAF\xC9 ? ?");
}

TEST_P(MovimentoLido, FalhaNoMeioDoPercursoEExcecaoDoChamador) {
  for (auto dia : {kDia1, kDia2, kDia3}) m->Cupom(1, dia).Item(10, 1, 1);
  m->Grava();
  auto caixa = Conecta<CConexaoECSCX>();
  std::vector<Visto> vistos;
  {
    CFalhaDadosInjetada falha(2, com::RPC_S_SERVER_UNAVAILABLE);  // the second day
    EXPECT_EQ(caixa->PercorreCupons(1, kDia1, kDia3, Anota(vistos)), com::RPC_S_SERVER_UNAVAILABLE);
  }
  EXPECT_EQ(vistos.size(), 1u);
  // The caller's own exception comes out as it was thrown, not as a server failure.
  auto outra = Conecta<CConexaoECSCX>();
  EXPECT_THROW(outra->PercorreCupons(1, kDia1, kDia3, [](const auto&, const auto&, const auto&) -> bool {
    throw std::length_error("disco cheio");
  }), std::length_error);
  vistos.clear();
  EXPECT_EQ(outra->PercorreCupons(1, kDia1, kDia3, Anota(vistos)), com::S_OK);  // still usable
  EXPECT_EQ(vistos.size(), 3u);
  // A caller that answers false at the second cupom stops the walk there.
  vistos.clear();
  EXPECT_EQ(outra->PercorreCupons(1, kDia1, kDia3, Anota(vistos, 2)), com::S_OK);
  EXPECT_EQ(vistos.size(), 2u);
}

TEST_P(MovimentoLido, PercursoDentroDePercursoNaMesmaConexao) {
  m->Cupom(1, kDia1).Item(10, 1, 1);
  m->Cupom(1, kDia1).Item(20, 1, 2).Item(30, 1, 3);
  m->Grava();
  auto caixa = Conecta<CConexaoECSCX>();
  std::vector<std::size_t> internos;
  ASSERT_EQ(caixa->PercorreCupons(1, kDia1, kDia1, [&](const auto&, const auto& itens, const auto&) {
    std::vector<Visto> vistos;  // the same statements, walked again inside the walk
    EXPECT_EQ(caixa->PercorreCupons(1, kDia1, kDia1, Anota(vistos)), com::S_OK);
    internos.push_back(vistos.size() * 10 + itens.size());
    return true;
  }), com::S_OK);
  EXPECT_EQ(internos, (std::vector<std::size_t>{21, 22}));
}

QMX_NOS_DOIS_MOTORES(MovimentoLido);

}  // namespace
