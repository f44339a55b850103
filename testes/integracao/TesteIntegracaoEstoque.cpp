// The stock pass and the single-cupom stock integration, step by step on
// the integration company, with the log's exact lines and the rows written.
#include <gtest/gtest.h>

#include "plataforma/calendario/DataCodificada.h"
#include "integracao/EmpresaIntegracao.h"
#include "integracao/QMXIntegracao.h"
#include "frame/Espera.h"
#include "plataforma/dados/ConexaoMovimento.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/ui/Progresso.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

using Linhas = std::vector<std::string>;

class IntegracaoEstoque : public ::testing::Test {
 protected:
  std::int32_t Passa(std::uint16_t ecf = 1, NumeroDia data = EmpresaIntegracao::kDia) {
    return QMX_ProcIntegraES(EmpresaIntegracao::Parametros(data, ecf));
  }
  // Every stock movement with its accounting entry, and every item's mark.
  Linhas Movimentos() {
    return e.Linhas(
        "SELECT m.cupom, m.item, m.produto, m.local_estoque, m.quantidade, m.valor, m.cfop, m.tipo_documento, "
        "m.documento, l.conta_debito, l.conta_credito, l.valor, l.gerencial, l.origem "
        "FROM movimento_estoque m LEFT JOIN lancamento_contabil l ON l.movimento = m.id ORDER BY m.cupom, m.item");
  }
  Linhas Marcas() {
    return e.Linhas("SELECT cupom, item, integrado_estoque FROM cupom_item ORDER BY cupom, item");
  }

  EmpresaIntegracao e;
};

TEST_F(IntegracaoEstoque, PassaPorCadaCupomEItemComAsPendenciasNoLog) {
  const auto dia = EmpresaIntegracao::kDia;
  e.movimento.Cupom(1, dia).Item(10, 2, 12.50).Item(11, 1, 8).Servico(20, 1, 5);       // 1: all moves
  e.movimento.Cupom(1, dia).Item(12, 1, 9.90).Item(10, 1, 12.50);                      // 2: no grid for 12
  e.movimento.Cupom(1, dia).Item(13, 5, 4).Item(14, 1, 20);                            // 3: stock, managerial
  e.movimento.Cupom(1, dia).Item(10, 1, 12.50).Origem(4);                              // 4: not for the stock
  auto& c5 = e.movimento.Cupom(1, dia).Item(10, 3, 12.50).Cancela().Item(10, 1, 12.50).Item(11, 2, 8);
  c5.itens.back().Excluido = 1;  // 5: a cancelled item, an item left out
  e.movimento.Cupom(1, dia).Item(10, 1, 12.50).Cancelado();                            // 6: cancelled cupom
  e.movimento.Cupom(1, CodificaDia(11, 11, 2026)).Item(10, 1, 12.50);                  // another day
  e.movimento.Grava();

  EXPECT_EQ(Passa(), kIntegracaoComPendencias);
  EXPECT_EQ(e.LinhasLog(), (Linhas{
                               "Verificando cupons fiscais emitidos no dia: 10/11/2026",
                               "Falta configurar a grade contábil",
                               "Pendências na Contabilização ECF - (Estoque/Contábil)",
                               "ECF - Número: 1 Cupom Fiscal: 2 Item: 1 Movimento: 1/1",
                               "Ficaram pendências integrações dos itens Torvo Estoque",
                               "Não reintegrou Cupom Número: 2",
                               "Integração com Estoque - Saldo Insuficiente",
                               "Falta informar a conta empresarial do local",
                               "Pendências na Contabilização ECF - (Estoque/Contábil)",
                               "ECF - Número: 1 Cupom Fiscal: 3 Item: 2 Movimento: 1/1",
                               "Ficaram pendências integrações dos itens Torvo Estoque",
                               "Não reintegrou Cupom Número: 3",
                               "Ainda ficaram pendências na integração com o Torvo Estoque",
                           }));
  // Sales leave the place at its average cost, not at their price: the 100
  // rice start at the last purchase cost (833,33 in all), each exit takes
  // its share of what is left (2/100, then 1/98 of 816,66: 8,3332 to the
  // cent); the beans' place holds none, so they go at their purchase cost.
  // The grid gives both accounts.
  EXPECT_EQ(Movimentos(), (Linhas{
                              "1|1|10|1|-20000|166700|5102|6|CF000001-10/11/2026|3.1.01|1.1.02|166700||ES",
                              "1|2|11|2|-10000|52500|5102|6|CF000001-10/11/2026|3.1.01|1.1.02|52500||ES",
                              "2|2|10|1|-10000|83300|5102|6|CF000002-10/11/2026|3.1.01|1.1.02|83300||ES",
                              "5|2|10|1|-10000|83300|5102|6|CF000005-10/11/2026|3.1.01|1.1.02|83300||ES",
                          }));
  EXPECT_EQ(Marcas(), (Linhas{"1|1|1", "1|2|1", "1|3|0", "2|1|0", "2|2|1", "3|1|0", "3|2|0", "4|1|0", "5|1|0",
                              "5|2|1", "5|3|0", "6|1|0", "7|1|0"}));
  // The keyboard was locked for each item handled and is free at the end.
  EXPECT_FALSE(impressora::TecladoTravado());
  EXPECT_GE(impressora::VezesTecladoTravado(), 6);

  // Run again: the marked items are not moved twice; the pending ones stay.
  e.LimpaLog();
  EXPECT_EQ(Passa(), kIntegracaoComPendencias);
  EXPECT_EQ(Movimentos().size(), 4u);
  // Once the grid is there, the pending item goes through, alone.
  e.empresa.Gravador().Sessao().Executa("UPDATE produto SET grade_contabil = 2 WHERE codigo = 12", {});
  EXPECT_EQ(Passa(), kIntegracaoComPendencias);
  EXPECT_EQ(Movimentos().size(), 5u);
  EXPECT_EQ(Marcas()[3], "2|1|1");
}

// Without a log file the pass speaks to the operator: the keyboard is
// locked while an item's movements are handled and free around each
// movement's accounting test, whose messages come while it is free. A
// shortage, a product without a storage place and one the register lacks
// are told apart.
class HostQueAnotaTeclado : public ui::HostRoteirizado {
 public:
  int MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) override {
    travado.emplace_back(texto, impressora::TecladoTravado());
    return ui::HostRoteirizado::MostraCaixa(texto, titulo, flags);
  }
  std::vector<std::pair<std::string, bool>> travado;
};

TEST_F(IntegracaoEstoque, TecladoLivreNoTesteContabilDeCadaMovimento) {
  e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(12, 1, 9.90);  // no grid: the accounting test fails
  e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(13, 5, 4);     // more than the stock
  e.movimento.Produto(15, "SAL");                                   // no storage place
  e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(15, 1, 2).Item(99, 1, 1);  // 99: not in the register
  e.movimento.Grava();
  HostQueAnotaTeclado host;
  ui::HostTemporario ativo(host);
  QMX_SetDiretorio("");
  EXPECT_EQ(Passa(), kIntegracaoComPendencias);
  EXPECT_EQ(host.travado, (std::vector<std::pair<std::string, bool>>{
                              {"Verificando cupons fiscais emitidos no dia: 10/11/2026", false},
                              {"Falta configurar a grade contábil", false},
                              {"Pendências na Contabilização ECF - (Estoque/Contábil)", true},
                              {"ECF - Número: 1 Cupom Fiscal: 1 Item: 1 Movimento: 1/1", true},
                              {"Ficaram pendências integrações dos itens Torvo Estoque", false},
                              {"Não reintegrou Cupom Número: 1", false},
                              {"Integração com Estoque - Saldo Insuficiente", true},
                              {"Ficaram pendências integrações dos itens Torvo Estoque", false},
                              {"Não reintegrou Cupom Número: 2", false},
                              {"Integração com Estoque - Produto 15 sem local de estoque", true},
                              {"Integração com Estoque - Produto 99 não encontrado no cadastro", true},
                              {"Ficaram pendências integrações dos itens Torvo Estoque", false},
                              {"Não reintegrou Cupom Número: 3", false},
                              {"Ainda ficaram pendências na integração com o Torvo Estoque", false},
                          }));
  EXPECT_FALSE(impressora::TecladoTravado());
}

TEST_F(IntegracaoEstoque, OEstoqueTomadoPelosCuponsAnterioresDoPassoConta) {
  // 100 in stock: 60 + 40 leave it empty, the next unit is refused.
  e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(10, 60, 1);
  e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(10, 40, 1);
  e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(10, 1, 1);
  e.movimento.Grava();
  // A data server that is not up at first is waited for, not given up.
  int esperas = 0;
  EsperaSubstituida semEsperar([&](std::uint32_t) { ++esperas; });
  dados::CFalhasAtivacaoInjetadas indisponivel({com::RPC_S_SERVER_UNAVAILABLE});
  EXPECT_EQ(Passa(), kIntegracaoComPendencias);
  EXPECT_EQ(dados::FalhasAtivacaoRespondidas(), 1);
  EXPECT_GE(esperas, 1);
  EXPECT_EQ(Marcas(), (Linhas{"1|1|1", "2|1|1", "3|1|0"}));
  EXPECT_EQ(e.LinhasLog()[1], "Integração com Estoque - Saldo Insuficiente");
}

// A place's average cost: it starts from the balance at the last purchase
// cost, takes in what enters at its own cost, and each exit takes its share
// of what the place is worth, the last units exactly what is left. A
// product with no cost at all stays pending (a zero entry is refused).
TEST_F(IntegracaoEstoque, SaidasAoCustoMedioDoLocal) {
  const auto dia = EmpresaIntegracao::kDia;
  auto& primeira = e.movimento.Cupom(1, dia).Item(13, 1, 4);
  auto& segunda = e.movimento.Cupom(1, dia).Item(13, 1, 4).Item(13, 2, 4);
  auto& semCusto = e.movimento.Cupom(1, dia).Item(10, 1, 12.5);
  e.movimento.Grava();
  ASSERT_EQ(QMX_IntegraCupomES(&primeira.registro, 1, 0, 0), kIntegracaoCompleta);
  dados::CConexaoMovimento movimentos;
  ASSERT_EQ(movimentos.Inicializa(e.empresa.Chave(), 1, 0), com::S_OK);
  for (const auto& [quantidade, valor] : {std::pair<std::int64_t, std::int64_t>{20000, 700000}, {10000, 300000}}) {
    REG_ES_MOVIMENTOPS entrada{.Filial = 1, .LocalEstoque = 1, .Produto = 13, .Data = dia,
                               .Quantidade = CY{quantidade}, .Valor = CY{valor}};
    ASSERT_EQ(movimentos.GravaMovimento(&entrada), com::S_OK);
  }
  ASSERT_EQ(QMX_IntegraCupomES(&segunda.registro, 1, 0, 0), kIntegracaoCompleta);
  EXPECT_EQ(e.Linhas("SELECT quantidade, valor FROM movimento_estoque WHERE produto = 13 ORDER BY id"),
            (Linhas{"-10000|25000", "20000|700000", "10000|300000", "-10000|333300", "-20000|666700"}));
  EXPECT_EQ(e.Linhas("SELECT quantidade, valor FROM saldo_local WHERE produto = 13"), Linhas{"0|0"});

  e.empresa.Gravador().Sessao().Executa("UPDATE produto SET custo_ultima_compra = 0 WHERE codigo = 10", {});
  e.LimpaLog();
  EXPECT_EQ(QMX_IntegraCupomES(&semCusto.registro, 1, 0, 0), kIntegracaoComPendencias);
  EXPECT_EQ(e.Linhas("SELECT COUNT(*) FROM movimento_estoque WHERE produto = 10"), Linhas{"0"});
  EXPECT_EQ(e.LinhasLog().front(), "Foi informado um valor igual a zero (ES 645)");
}

TEST_F(IntegracaoEstoque, ConfiguracaoQueFaltaParaAntesDeLerOsCupons) {
  e.movimento.Cupom(2, EmpresaIntegracao::kDia).Item(10, 1, 1);
  e.movimento.Grava();
  struct Caso {
    std::uint16_t ecf;
    NumeroDia data;
    std::int32_t resultado;
    const char* linha;
  } casos[] = {
      {2, EmpresaIntegracao::kDia, kIntegracaoInterrompida,
       "Campo \"CFOP\", no Cadastro de ECF, deve ser informado."},
      {3, EmpresaIntegracao::kDia, kIntegracaoInterrompida,
       "Campo \"Tipo Documento do Estoque\", no Cadastro de ECF, deve ser informado."},
      {1, CodificaDia(1, 1, 2026) - 1, kIntegracaoInterrompida,
       "Data Inicial inferior a data de inicio do sistema."},
      // The start date itself is integrated.
      {1, CodificaDia(1, 1, 2026), kIntegracaoCompleta, "Verificando cupons fiscais emitidos no dia: 01/01/2026"},
  };
  for (const auto& c : casos) {
    e.LimpaLog();
    EXPECT_EQ(Passa(c.ecf, c.data), c.resultado) << c.linha;
    EXPECT_EQ(e.LinhasLog(), Linhas{c.linha});
  }
  EXPECT_EQ(e.Conta("movimento_estoque"), 0);
}

TEST_F(IntegracaoEstoque, CupomUnicoDepoisDaVenda) {
  auto& vendido = e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(10, 2, 3).Item(11, 1, 2);
  auto& semCfop = e.movimento.Cupom(2, EmpresaIntegracao::kDia).Item(10, 1, 3);
  auto& semTipo = e.movimento.Cupom(3, EmpresaIntegracao::kDia).Item(10, 1, 3);
  e.movimento.Grava();

  EXPECT_EQ(QMX_IntegraCupomES(&vendido.registro, 1, 0, 0), kIntegracaoCompleta);
  EXPECT_EQ(Marcas()[0], "1|1|1");
  EXPECT_EQ(Marcas()[1], "1|2|1");
  EXPECT_EQ(QMX_IntegraCupomES(&semCfop.registro, 1, 0, 0), kIntegracaoComPendencias);
  EXPECT_EQ(QMX_IntegraCupomES(&semTipo.registro, 1, 0, 0), kIntegracaoComPendencias);
  EXPECT_EQ(e.LinhasLog(), (Linhas{"Pendências na Integração com Torvo Estoque",
                                   "Falta cadastrar CFOP no Cadastro de ECFs",
                                   "Pendências na Integração com Torvo Estoque",
                                   "Falta cadastrar Tipo de Documento no Cadastro de ECFs"}));
  // Integrated again right away: nothing doubles.
  EXPECT_EQ(QMX_IntegraCupomES(&vendido.registro, 1, 0, 0), kIntegracaoCompleta);
  EXPECT_EQ(e.Conta("movimento_estoque"), 2);
  EXPECT_EQ(e.Conta("lancamento_contabil"), 2);
  EXPECT_EQ(QMX_IntegraCupomES(nullptr, 1, 0, 0), com::E_POINTER);
}

TEST_F(IntegracaoEstoque, LancamentoRecusadoDesfazOMovimentoDoItem) {
  // The server refuses each entry for its own reason; the movement written
  // before the refusal goes with it, the item stays unmarked.
  struct Caso {
    const char* ajuste;
    const char* texto;
  } casos[] = {
      {"UPDATE grade_contabil SET conta_debito = '8.8.88' WHERE codigo = 2",
       "Uma Conta débito informada não está cadastrada (ES 641)"},
      {"UPDATE grade_contabil SET conta_credito = '9' WHERE codigo = 2",
       "Uma Conta crédito informada não é analítica (ES 644)"},
      {"UPDATE grade_contabil SET conta_credito = '3.1.01' WHERE codigo = 2",
       "Foi informada uma Conta débito igual a uma Conta crédito (ES 640)"},
  };
  e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(10, 1, 1);
  e.movimento.Grava();
  for (const auto& c : casos) {
    e.LimpaLog();
    e.empresa.Gravador().Sessao().Executa("UPDATE grade_contabil SET conta_debito = '3.1.01', "
                                          "conta_credito = '1.1.02' WHERE codigo = 2", {});
    e.empresa.Gravador().Sessao().Executa(c.ajuste, {});
    EXPECT_EQ(Passa(), kIntegracaoComPendencias) << c.texto;
    ASSERT_GE(e.LinhasLog().size(), 2u);
    EXPECT_EQ(e.LinhasLog()[1], c.texto);
    EXPECT_EQ(e.Conta("movimento_estoque"), 0) << c.texto;
    EXPECT_EQ(Marcas()[0], "1|1|0");
  }
}

TEST_F(IntegracaoEstoque, MesBloqueadoNaoContabilizaOEstoque) {
  e.empresa.Gravador().Sessao().Executa("UPDATE filial SET mes_bloqueado_contabil = ? WHERE numero = 1",
                                        {CodificaMes(11, 2026)});
  e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(10, 1, 1);
  e.movimento.Grava();
  EXPECT_EQ(Passa(), kIntegracaoComPendencias);
  EXPECT_EQ(e.LinhasLog(), (Linhas{"Bloqueio de integração/lançamento contábil 11/26",
                                   "Verificando cupons fiscais emitidos no dia: 10/11/2026",
                                   "Não reintegrou Cupom Número: 1",
                                   "Ainda ficaram pendências na integração com o Torvo Estoque"}));
  EXPECT_EQ(e.Conta("movimento_estoque"), 0);
  // October is open.
  e.empresa.Gravador().Sessao().Executa("UPDATE filial SET mes_bloqueado_contabil = ? WHERE numero = 1",
                                        {CodificaMes(10, 2026)});
  EXPECT_EQ(Passa(), kIntegracaoCompleta);
}

// Stopped from its progress window between two cupons: what was done stays
// done, the log says who stopped it, and the next pass finishes the rest.
TEST_F(IntegracaoEstoque, InterrompidaPeloOperadorEntreDoisCupons) {
  const auto dia = EmpresaIntegracao::kDia;
  for (int i = 0; i < 4; ++i) e.movimento.Cupom(1, dia).Item(10, 1, 12.50);
  e.movimento.Grava();
  ui::HostRoteirizado host;
  ui::HostTemporario temporario(host);
  const auto intervalo = ui::CProgresso::DefineIntervalo(std::chrono::milliseconds(0));
  host.CancelaProgresso(4);  // the start, then before each cupom
  EXPECT_EQ(Passa(), kIntegracaoInterrompida);
  EXPECT_EQ(e.LinhasLog().back(), "Integração interrompida pelo operador");
  EXPECT_EQ(Marcas(), (Linhas{"1|1|1", "2|1|1", "3|1|0", "4|1|0"}));
  ASSERT_EQ(host.Progressos().size(), 4u);
  EXPECT_EQ(host.Progressos().back().texto, "3 de 4 cupons");
  EXPECT_EQ(Passa(), kIntegracaoCompleta);
  EXPECT_EQ(Marcas(), (Linhas{"1|1|1", "2|1|1", "3|1|1", "4|1|1"}));
  ui::CProgresso::DefineIntervalo(intervalo);
}

}  // namespace
