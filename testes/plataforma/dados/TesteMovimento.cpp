// The movement's connection classes on both engines: what each reader
// gives back of what the company recorded, in the order the files rely on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "apoio/MovimentoTeste.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/ConexaoCFRT.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoFormaPagamento.h"
#include "plataforma/dados/ConexaoGradeContabil.h"
#include "plataforma/dados/ConexaoLocais.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ConexaoPlano.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ConexaoServidorEC.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/dados/TransacaoDados.h"
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

// Read together (one statement per piece of codes), the records are byte for byte those read one at a time:
// products with the branch's data, another branch's and none, their
// places, units and PIS/COFINS rates, over more codes than one piece takes
// and with codes the register lacks.
TEST_P(MovimentoLido, LidosJuntosSaoOsLidosUmAUm) {
  std::vector<std::uint32_t> codigos;
  for (std::uint32_t codigo = 100; codigo < 800; ++codigo) {
    codigos.push_back(codigo);
    if (codigo % 7 == 0) continue;  // not in the register
    auto& p = m->Produto(codigo, "ITEM " + std::to_string(codigo) + (codigo % 3 ? "" : " ÁGUA"));
    p.Tributacao("TFIN"[codigo % 4], static_cast<std::uint16_t>(codigo % 5 * 600), codigo % 2 ? "000" : "060");
    p.Unidade(static_cast<std::uint16_t>(codigo % 6), codigo % 5 == 0);  // 0: none; 5: one the register lacks
    p.registro.LocalEstoque = static_cast<std::uint16_t>(codigo % 4);    // 3: one the register lacks
    if (codigo % 11 == 0) p.Producao();
    if (codigo % 2) p.PisCofins(1, kDia1, kDia2, 165).PisCofins(2, kDia2, 0, static_cast<std::uint16_t>(codigo));
    if (codigo % 9 == 0) p.PisCofins(1, kDia2, 0, 760);
  }
  codigos.push_back(90000);
  m->Grava();
  CGravadorCatalogo catalogo(empresa->Gravador().Sessao());
  for (std::uint16_t u = 1; u <= 4; ++u)
    catalogo.GravaUnidade(REG_UNIDADES_MEDIDAPS{.Codigo = u, .Sigla = {'U', static_cast<char>('0' + u)}, .Descricao = "UNIDADE"});
  for (std::uint16_t l = 1; l <= 2; ++l)
    catalogo.GravaLocal(REG_LOCAL_ESTOQUEPS{.Codigo = l, .Descricao = "DEPOSITO", .ContaEmpresarial = "1.1.4", .PermiteNegativo = 1});

  auto produtos = Conecta<CConexaoProduto>();
  auto locais = Conecta<CConexaoLocais>();
  const auto mesmosBytes = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  const auto idas = CSessaoDados::IdasEVoltasDoProcesso;
  std::set<std::uint16_t> unidadesPedidas{0, 1, 2, 3, 4, 5}, locaisPedidos{0, 1, 2, 3};
  for (const bool emTransacao : {true, false}) {
    // Inside a transaction (where the passes read) and outside one, the
    // pieces go in one round trip, their statements prepared on the way
    // the first time.
    CTransacaoDados transacao;
    if (emTransacao) {
      ASSERT_EQ(transacao.Inicia(empresa->Chave()), com::S_OK);
    }
    std::map<std::uint32_t, REG_PRODUTOPS> juntos;
    for (int vez = 0; vez < 2; ++vez) {
      const auto antes = idas();
      ASSERT_EQ(produtos->LeProdutos(codigos, 1, &juntos), com::S_OK);
      EXPECT_EQ(idas() - antes, GetParam() == MotorTeste::Postgres ? 1 : 0) << "vez " << vez << " " << emTransacao;
    }
  }
  for (const std::uint16_t filial : {0, 1, 2}) {
    std::map<std::uint32_t, REG_PRODUTOPS> juntos;
    ASSERT_EQ(produtos->LeProdutos(codigos, filial, &juntos), com::S_OK);
    EXPECT_EQ(juntos.size(), 700u - 100u) << "filial " << filial;
    for (const std::uint32_t codigo : codigos) {
      REG_PRODUTOPS sozinho{};
      const com::HRESULT lido = produtos->Le(codigo, filial, &sozinho);
      ASSERT_EQ(juntos.count(codigo), lido == com::S_OK ? 1u : 0u) << codigo;
      if (lido == com::S_OK) EXPECT_TRUE(mesmosBytes(juntos.at(codigo), sozinho)) << codigo << " filial " << filial;
      else EXPECT_EQ(lido, QMX_E_REGISTRO_INEXISTENTE) << codigo;
    }
  }
  // Each code asked, read alone: found alone exactly when found together,
  // and then the same bytes.
  const auto confere = [&](const auto& juntos, const std::set<std::uint16_t>& pedidos, auto leSozinho) {
    for (const std::uint16_t codigo : pedidos) {
      typename std::decay_t<decltype(juntos)>::mapped_type sozinho{};
      const bool achado = leSozinho(codigo, &sozinho) == com::S_OK;
      ASSERT_EQ(juntos.count(codigo), achado ? 1u : 0u) << codigo;
      if (achado) {
        EXPECT_TRUE(mesmosBytes(juntos.at(codigo), sozinho)) << codigo;
      }
    }
  };
  std::map<std::uint16_t, REG_UNIDADES_MEDIDAPS> unidades;
  ASSERT_EQ(produtos->LeUnidades({unidadesPedidas.begin(), unidadesPedidas.end()}, &unidades), com::S_OK);
  confere(unidades, unidadesPedidas, [&](std::uint16_t u, auto* r) { return produtos->LeUnidade(u, r); });
  EXPECT_EQ(unidades.size(), 4u);
  std::map<std::uint16_t, REG_LOCAL_ESTOQUEPS> lidos;
  ASSERT_EQ(locais->LeLocais({locaisPedidos.begin(), locaisPedidos.end()}, &lidos), com::S_OK);
  confere(lidos, locaisPedidos, [&](std::uint16_t l, auto* r) { return locais->Le(l, r); });
  EXPECT_EQ(lidos.size(), 2u);
  std::map<std::uint32_t, std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS>> aliquotas;
  ASSERT_EQ(produtos->LePisCofinsDeVarios(codigos, &aliquotas), com::S_OK);
  ASSERT_EQ(aliquotas.size(), codigos.size());  // every code asked, with rates or without
  std::size_t comAliquotas = 0;
  for (const std::uint32_t codigo : codigos) {
    std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS> sozinhas;
    ASSERT_EQ(produtos->LePisCofins(codigo, &sozinhas), com::S_OK);
    const auto& juntas = aliquotas.at(codigo);
    ASSERT_EQ(juntas.size(), sozinhas.size()) << codigo;
    for (std::size_t i = 0; i < juntas.size(); ++i) EXPECT_TRUE(mesmosBytes(juntas[i], sozinhas[i])) << codigo;
    comAliquotas += !juntas.empty();
  }
  EXPECT_GT(comAliquotas, 300u);

  // Accounts of the chart by their text codes (accents and blanks kept, a
  // code at the field's full width) and customers by number, some of them
  // missing from their registers.
  std::vector<std::string> contasPedidas;
  std::vector<std::uint32_t> clientesPedidos;
  for (int n = 0; n < 300; ++n) {
    std::string codigo = "1." + std::to_string(n % 4) + "." + std::to_string(n) + (n % 5 ? "" : " A\xC7\xC3O");  // Windows-1252
    if (n == 7) codigo = std::string(20, '9');
    contasPedidas.push_back(codigo);
    clientesPedidos.push_back(static_cast<std::uint32_t>(1000 + 3 * n));
    if (n % 6 == 0) continue;  // not registered
    REG_PLANO_CONTAPS conta{};
    std::snprintf(conta.Codigo, sizeof conta.Codigo, "%s", codigo.c_str());
    std::snprintf(conta.Descricao, sizeof conta.Descricao, "CONTA %d", n);
    conta.Analitica = n % 2;
    conta.ExigeGerencial = n % 3 == 0;
    catalogo.GravaConta(conta);
    ZTCFRT cliente{};
    cliente.Codigo = clientesPedidos.back();
    std::snprintf(cliente.Nome, sizeof cliente.Nome, "CLIENTE %d JO\xC3O", n);
    cliente.TipoPessoa = n % 2 ? 'F' : 'J';
    cliente.Municipio = 3550308 + n;
    catalogo.GravaCfrt(cliente);
  }
  auto plano = Conecta<CConexaoPlano>();
  auto cfrt = Conecta<CConexaoCFRT>();
  std::map<std::string, REG_PLANO_CONTAPS> contas;
  ASSERT_EQ(plano->LeContas(contasPedidas, &contas), com::S_OK);
  EXPECT_EQ(contas.size(), 250u);
  for (const auto& codigo : contasPedidas) {
    REG_PLANO_CONTAPS sozinha{};
    const bool achada = plano->Le(codigo, &sozinha) == com::S_OK;
    ASSERT_EQ(contas.count(codigo), achada ? 1u : 0u) << codigo;
    if (achada) {
      EXPECT_TRUE(mesmosBytes(contas.at(codigo), sozinha)) << codigo;
    }
  }
  std::map<std::uint32_t, ZTCFRT> clientes;
  ASSERT_EQ(cfrt->LeCadastros(clientesPedidos, &clientes), com::S_OK);
  EXPECT_EQ(clientes.size(), 250u);
  for (const std::uint32_t codigo : clientesPedidos) {
    ZTCFRT sozinho{};
    const bool achado = cfrt->Le(codigo, &sozinho) == com::S_OK;
    ASSERT_EQ(clientes.count(codigo), achado ? 1u : 0u) << codigo;
    if (achado) {
      EXPECT_TRUE(mesmosBytes(clientes.at(codigo), sozinho)) << codigo;
    }
  }

  // Nothing asked, nothing read (not a step a failure could strike); a
  // failure of the server is the read's result, with nothing kept.
  {
    CFalhaDadosInjetada falha(1, com::RPC_S_SERVER_UNAVAILABLE);
    std::map<std::uint32_t, REG_PRODUTOPS> nenhum;
    EXPECT_EQ(produtos->LeProdutos({}, 1, &nenhum), com::S_OK);
    EXPECT_EQ(PassosDadosContados(), 0);
    EXPECT_EQ(produtos->LePisCofinsDeVarios(codigos, &aliquotas), com::RPC_S_SERVER_UNAVAILABLE);
    EXPECT_TRUE(aliquotas.empty());
  }
}

// A day's fiscal-book lines go in their order up to the first one the
// server refuses, with what it refused and how many went before it, the
// natures and products checked together as each line's check would.
TEST_P(MovimentoLido, LivroGravadoAteALinhaRecusada) {
  m->Grava();
  ASSERT_EQ(empresa->Gravador().Sessao().Consulta("SELECT 1 FROM natureza WHERE codigo IN (5102, 9999)", {}).size(), 1u);
  auto livro = Conecta<CConexaoGradeContabil>();
  const auto linha = [](std::uint16_t natureza, std::uint32_t produto, std::uint32_t servico = 0) {
    REG_LIVRO_FISCALPS l{};
    l.Filial = 1;
    l.Data = kDia2;
    l.Emissora = 1;
    l.Natureza = natureza;
    l.Produto = produto;
    l.Servico = servico;
    l.Chave = 7;
    return l;
  };
  struct Caso {
    std::vector<REG_LIVRO_FISCALPS> linhas;
    std::size_t gravados;
    std::uint16_t status;
  } casos[] = {
      {{}, 0, 0},
      {{linha(5102, 10), linha(5102, 0, 5), linha(5102, 20)}, 3, 0},
      {{linha(5102, 10), linha(5102, 30), linha(9999, 10), linha(5102, 20)}, 2, 1000},
      {{linha(0, 10), linha(5102, 20)}, 0, 2013},
      {{linha(5102, 20), linha(5102, 777), linha(5102, 10)}, 1, 242},
  };
  for (const auto& c : casos) {
    empresa->Gravador().Sessao().Executa("DELETE FROM livro_fiscal", {});
    std::size_t gravados = 99;
    std::uint16_t status = 99;
    ASSERT_EQ(livro->GravaItensLivro(c.linhas, &gravados, &status), com::S_OK);
    EXPECT_EQ(std::pair(gravados, status), std::pair(c.gravados, c.status)) << c.linhas.size();
    std::vector<std::int64_t> produtos;
    for (const auto& l : empresa->Gravador().Sessao().Consulta("SELECT produto FROM livro_fiscal ORDER BY id", {}))
      produtos.push_back(l.Inteiro(0));
    std::vector<std::int64_t> esperados;
    for (std::size_t i = 0; i < c.gravados; ++i) esperados.push_back(c.linhas[i].Produto);
    EXPECT_EQ(produtos, esperados) << c.linhas.size();
  }
  // One line alone is the same check.
  std::uint16_t status = 0;
  ASSERT_EQ(livro->GravaItemLivro(linha(5102, 777), &status), com::S_OK);
  EXPECT_EQ(status, 242);
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

// The files' narrower walks give what the full walk gives but the fields
// their lines never show, left empty: both read the cupons without their
// branch, ECF, time, key, origin, terms, subtotal, discount and numbers;
// the SPED lines' items come without their description, NCM, unit and
// stock marks; the movement file's items without NCM, unit and stock
// marks, its payments without their holder.
TEST_P(MovimentoLido, PercursosEstreitosSaoOCompletoSemOQueAsLinhasNaoMostram) {
  for (int n = 0; n < 14; ++n) {
    auto& c = m->Cupom(static_cast<std::uint16_t>(1 + n % 2), n % 3 ? kDia1 : kDia3);
    c.Item(10, 1 + n, 3.25).Item(20, 2, 1.99, n % 2 ? 0.10 : 0);
    if (n % 3 == 0) c.Cancela();
    c.Item(30, 0.5, 7.0);
    if (n % 5 == 4) c.Cancelado();
    if (n % 4 == 2) c.Cliente(500u + static_cast<std::uint32_t>(n), "FULANO").Documento("123.456.789-09");
    c.Origem(static_cast<std::uint8_t>(n % 3)).Pagamento(static_cast<std::uint16_t>(1 + n % 3), 5.0, 7u * n);
    if (n % 2) c.Titular("TITULAR", "CIDADE", "5511", "MENSAGEM").Pagamento(2, 1.5);
    for (auto& i : c.itens) {
      std::snprintf(i.NCM, sizeof i.NCM, "1006%04d", n);
      std::snprintf(i.CST, sizeof i.CST, "0%d0", n % 7);
      i.Unidade = static_cast<std::uint16_t>(1 + n % 3);
      i.Excluido = static_cast<std::uint8_t>(n % 2);
      i.IntegradoEstoque = static_cast<std::uint8_t>(n % 4 == 1);
    }
  }
  m->Grava();
  auto caixa = Conecta<CConexaoECSCX>();
  struct Lido {
    REG_EC_CXPS cupom;
    std::vector<REG_EC_CX_CIPS> itens;
    std::vector<REG_EC_CX_PAGAMENTOPS> pagamentos;
  };
  const auto guarda = [](std::vector<Lido>& lidos) -> PorCupom {
    return [&lidos](const auto& c, const auto& itens, const auto& pagamentos) {
      return lidos.push_back({c, itens, pagamentos}), true;
    };
  };
  const auto mesmos = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  std::size_t itens = 0, comNcm = 0, pagamentos = 0, comTitular = 0, comCliente = 0;
  for (const std::uint16_t ecf : {1, 2, 3}) {
    std::vector<Lido> completos, tributados, movimento;
    ASSERT_EQ(caixa->PercorreCupons(ecf, kDia1, kDia3, guarda(completos)), com::S_OK);
    ASSERT_EQ(caixa->PercorreItensTributados(ecf, kDia1, kDia3, guarda(tributados)), com::S_OK);
    ASSERT_EQ(caixa->PercorreMovimento(ecf, kDia1, kDia3, guarda(movimento)), com::S_OK);
    ASSERT_EQ(completos.size(), tributados.size()) << ecf;
    ASSERT_EQ(completos.size(), movimento.size()) << ecf;
    for (std::size_t k = 0; k < completos.size(); ++k) {
      const Lido& completo = completos[k];
      EXPECT_TRUE(tributados[k].pagamentos.empty());
      REG_EC_CXPS cupom = completo.cupom;
      EXPECT_NE(cupom.Sequencia, 0u);
      EXPECT_NE(cupom.Hora, 0);
      comCliente += cupom.Cliente != 0 && cupom.DocumentoCliente[0] != '\0';
      cupom.Filial = cupom.Emissora = 0;
      cupom.Hora = 0;
      cupom.Sequencia = cupom.NumeroInicial = cupom.NumeroFinal = 0;
      cupom.Origem = 0;
      cupom.CondicaoPagamento = 0;
      cupom.Subtotal = cupom.Desconto = CY{};
      EXPECT_TRUE(mesmos(cupom, movimento[k].cupom)) << ecf << " " << k;
      EXPECT_TRUE(mesmos(cupom, tributados[k].cupom)) << ecf << " " << k;
      ASSERT_EQ(completo.itens.size(), tributados[k].itens.size());
      ASSERT_EQ(completo.itens.size(), movimento[k].itens.size());
      for (std::size_t i = 0; i < completo.itens.size(); ++i) {
        REG_EC_CX_CIPS esperado = completo.itens[i];
        EXPECT_NE(esperado.Descricao[0], '\0');
        comNcm += esperado.NCM[0] != '\0' && esperado.Unidade != 0;
        std::memset(esperado.NCM, 0, sizeof esperado.NCM);
        esperado.Unidade = 0;
        esperado.Excluido = esperado.IntegradoEstoque = 0;
        EXPECT_TRUE(mesmos(esperado, movimento[k].itens[i])) << ecf << " " << k << " " << i;
        std::memset(esperado.Descricao, 0, sizeof esperado.Descricao);
        EXPECT_TRUE(mesmos(esperado, tributados[k].itens[i])) << ecf << " " << k << " " << i;
        ++itens;
      }
      ASSERT_EQ(completo.pagamentos.size(), movimento[k].pagamentos.size());
      for (std::size_t p = 0; p < completo.pagamentos.size(); ++p) {
        REG_EC_CX_PAGAMENTOPS esperado = completo.pagamentos[p];
        comTitular += esperado.Titular[0] && esperado.Cidade[0] && esperado.Telefone[0] && esperado.Mensagem[0];
        std::memset(esperado.Titular, 0, sizeof esperado.Titular);
        std::memset(esperado.Cidade, 0, sizeof esperado.Cidade);
        std::memset(esperado.Telefone, 0, sizeof esperado.Telefone);
        std::memset(esperado.Mensagem, 0, sizeof esperado.Mensagem);
        EXPECT_TRUE(mesmos(esperado, movimento[k].pagamentos[p])) << ecf << " " << k << " " << p;
        ++pagamentos;
      }
    }
  }
  EXPECT_EQ(itens, 42u);
  EXPECT_EQ(comNcm, 42u);
  EXPECT_EQ(pagamentos, 21u);
  EXPECT_EQ(comTitular, 7u);
  EXPECT_EQ(comCliente, 3u);
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
