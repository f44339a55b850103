// The books an accountant signs: what the four passes leave for one day of
// the integration company, staged as the till, the register and the
// calendar make it happen (a closed month, a cupom cancelled after its
// stock went, a consumer nota, a product whose register changed, change
// and vouchers in the drawer, the last units of a place), each checked
// against the reconciliation, which recomputes every identity on its own.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "apoio/Motores.h"
#include "integracao/ConferenciaIntegracao.h"
#include "integracao/EmpresaIntegracao.h"
#include "integracao/QMXIntegracao.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/ResultadosDados.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

using Linhas = std::vector<std::string>;
using Passo = std::int32_t (*)(REG_QMX_PARAMETROS_INTEGRACAO);

const NumeroDia kDia = EmpresaIntegracao::kDia;
const std::string kTexto10Nov = std::to_string(kDia);

class LivrosDaRetaguarda : public ::testing::Test {
 protected:
  static REG_QMX_PARAMETROS_INTEGRACAO Dia() { return EmpresaIntegracao::Parametros(kDia, 1); }
  void Executa(const std::string& sql) { e.empresa.Gravador().Sessao().Executa(sql, {}); }
  // The four passes in the order of a day's close; each answer.
  std::vector<std::int32_t> Integra() {
    return {QMX_ProcIntegraES(Dia()), QMX_ProcIntegraCN(Dia()), QMX_ProcIntegraEF(Dia()), QMX_ProcIntegraFN(Dia())};
  }
  CConferenciaIntegracao::Resultado Confere() { return CConferenciaIntegracao({e.empresa.Chave(), 1, 0}).Confere(kDia, 1); }
  // The reconciliation's figures of a group that disagree, as "item fonte livros".
  static Linhas Diferencas(const CConferenciaIntegracao::Resultado& r) {
    Linhas d;
    for (const auto& c : r.comparacoes)
      if (!c.Confere()) d.push_back(c.grupo + ": " + c.item + " " + std::to_string(c.fonte) + " " + std::to_string(c.livros));
    for (const auto& p : r.problemas) d.push_back(p);
    return d;
  }
  std::int64_t Escritos() {
    return e.Conta("movimento_estoque") + e.Conta("lancamento_contabil") + e.Conta("livro_fiscal") +
           e.Conta("titulo_receber");
  }

  EmpresaIntegracao e;
};

// Rice (18 %), beans (substitution), a delivery (ISS) and sugar (7 %) in
// money with change, on a card, and the Z reduction of the day.
void DiaComum(EmpresaIntegracao& e) {
  e.movimento.Cupom(1, kDia).Item(10, 2, 12.5).Item(11, 1, 8).Servico(20, 1, 5).Pagamento(1, 40).Pagamento(255, 2);
  e.movimento.Cupom(1, kDia).Item(13, 1, 4.35).Pagamento(2, 4.35);
  e.movimento.ReducaoZ(1, kDia);
  e.movimento.Grava();
}

TEST_F(LivrosDaRetaguarda, MesBloqueadoRecusadoPorCadaPassoELidoOuNada) {
  DiaComum(e);
  Executa("UPDATE filial SET mes_bloqueado_contabil = " + std::to_string(CodificaMes(11, 2026)));
  const std::pair<Passo, std::int32_t> passos[] = {{&QMX_ProcIntegraES, kIntegracaoComPendencias},
                                                   {&QMX_ProcIntegraCN, kIntegracaoInterrompida},
                                                   {&QMX_ProcIntegraEF, kIntegracaoInterrompida},
                                                   {&QMX_ProcIntegraFN, kIntegracaoInterrompida}};
  for (const auto& [passo, resultado] : passos) {
    e.LimpaLog();
    EXPECT_EQ(passo(Dia()), resultado);
    const Linhas log = e.LinhasLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Bloqueio de integração/lançamento contábil 11/26"), 1)
        << testing::PrintToString(log);
  }
  e.LimpaLog();
  REG_EC_CXPS cupom{};
  cupom.Id = 1;
  EXPECT_EQ(QMX_IntegraCupomES(&cupom, 1, 0, 0), kIntegracaoComPendencias);
  EXPECT_EQ(e.LinhasLog(), Linhas{"Bloqueio de integração/lançamento contábil 11/26"});
  EXPECT_EQ(Escritos(), 0);
  // The month after the blocked one is open; the day itself too once the
  // block moves on.
  Executa("UPDATE filial SET mes_bloqueado_contabil = " + std::to_string(CodificaMes(10, 2026)));
  EXPECT_EQ(Integra(), (std::vector<std::int32_t>{0, 0, 0, 0}));
  EXPECT_TRUE(Confere().Confere()) << testing::PrintToString(Diferencas(Confere()));
  // A branch whose record cannot be read is never taken as open: every
  // pass stops on it as on a failure of the server, and what the day had
  // stays.
  const std::int64_t antes = Escritos();
  Executa("DELETE FROM filial");
  for (Passo passo : {&QMX_ProcIntegraES, &QMX_ProcIntegraCN, &QMX_ProcIntegraEF, &QMX_ProcIntegraFN}) {
    e.LimpaLog();
    Executa("UPDATE cupom_item SET integrado_estoque = 0 WHERE cupom = 2");
    EXPECT_EQ(passo(Dia()), dados::QMX_E_REGISTRO_INEXISTENTE);
    ASSERT_FALSE(e.LinhasLog().empty());
    EXPECT_EQ(e.LinhasLog().back().rfind("Falha: ", 0), 0u) << e.LinhasLog().back();
  }
  EXPECT_EQ(Escritos(), antes);
}

// A cupom, and an item of another, cancelled at the till after the stock
// went out: the next passes give the stock back at the value it left with,
// reverse its entries and drop the sale from the other books; then the
// reconciliation agrees and a further run changes nothing.
TEST_F(LivrosDaRetaguarda, CancelamentoDepoisDaIntegracaoEstornado) {
  auto& primeiro = e.movimento.Cupom(1, kDia).Item(10, 2, 12.5).Item(13, 1, 4).Pagamento(1, 29);
  auto& segundo = e.movimento.Cupom(1, kDia).Item(10, 1, 12.5).Item(11, 2, 5.25).Pagamento(1, 23);
  e.movimento.ReducaoZ(1, kDia);
  e.movimento.Grava();
  ASSERT_EQ(Integra(), (std::vector<std::int32_t>{0, 0, 0, 0}));
  const Linhas saidas = e.Linhas("SELECT cupom, item, quantidade, valor FROM movimento_estoque ORDER BY id");
  ASSERT_EQ(saidas.size(), 4u);

  Executa("UPDATE cupom SET cancelado = 1 WHERE id = 1");
  Executa("UPDATE cupom_item SET cancelado = 1 WHERE cupom = 2 AND item = 2");
  Executa("UPDATE cupom_pagamento SET valor = 125000 WHERE cupom = 2");  // the beans' money given back
  primeiro.Cancelado();
  segundo.itens[1].Cancelado = 1;
  e.movimento.ReducaoZ(1, kDia);  // the printer's day, as it now closes
  e.movimento.Grava();
  e.LimpaLog();
  ASSERT_EQ(Integra(), (std::vector<std::int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(e.Linhas("SELECT m.cupom, m.item, m.quantidade, m.valor, m.data FROM movimento_estoque m "
                     "WHERE m.estorno_de <> 0 ORDER BY m.id"),
            (Linhas{"1|1|20000|166700|" + kTexto10Nov, "1|2|10000|25000|" + kTexto10Nov,
                    "2|2|20000|105000|" + kTexto10Nov}));
  // Each return reverses its exit's entry: the same value, the accounts
  // the other way round.
  EXPECT_EQ(e.Linhas("SELECT s.conta_debito = r.conta_credito AND s.conta_credito = r.conta_debito AND "
                     "s.valor = r.valor FROM movimento_estoque m JOIN lancamento_contabil s ON s.movimento = "
                     "m.estorno_de JOIN lancamento_contabil r ON r.movimento = m.id WHERE m.estorno_de <> 0"),
            (Linhas{"1", "1", "1"}));
  EXPECT_EQ(e.Linhas("SELECT cupom, item, integrado_estoque FROM cupom_item ORDER BY cupom, item"),
            (Linhas{"1|1|0", "1|2|0", "2|1|1", "2|2|0"}));
  const Linhas log = e.LinhasLog();
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& l) { return l.rfind("Estorno do Cupom Fiscal: CF00000", 0) == 0; }),
            3);
  // The places hold what they held before the first cupom, but for the
  // rice of cupom 2.
  EXPECT_EQ(e.Linhas("SELECT local_estoque, produto, quantidade FROM saldo_local ORDER BY 1, 2"),
            (Linhas{"1|10|990000", "1|13|10000", "2|11|0"}));
  const auto r = Confere();
  EXPECT_TRUE(r.Confere()) << testing::PrintToString(Diferencas(r));
  const Linhas tudo = e.Linhas("SELECT COUNT(*), SUM(valor) FROM movimento_estoque");
  ASSERT_EQ(Integra(), (std::vector<std::int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(e.Linhas("SELECT COUNT(*), SUM(valor) FROM movimento_estoque"), tudo);

  // In a closed month the return goes to the day it was found (the clock's
  // 06/12/2026), and the month's other books stay as they were closed: the
  // reconciliation shows the sale still in them.
  Executa("UPDATE filial SET mes_bloqueado_contabil = " + std::to_string(CodificaMes(11, 2026)));
  Executa("UPDATE cupom SET cancelado = 1 WHERE id = 2");
  e.LimpaLog();
  EXPECT_EQ(QMX_ProcIntegraES(Dia()), kIntegracaoCompleta);
  EXPECT_EQ(e.Linhas("SELECT m.item, m.data, l.data FROM movimento_estoque m JOIN lancamento_contabil l ON "
                     "l.movimento = m.id WHERE m.estorno_de <> 0 AND m.cupom = 2 AND m.item = 1"),
            Linhas{"1|" + std::to_string(CodificaDia(6, 12, 2026)) + "|" + std::to_string(CodificaDia(6, 12, 2026))});
  EXPECT_EQ(QMX_ProcIntegraCN(Dia()), kIntegracaoInterrompida);
  EXPECT_FALSE(Confere().Confere());
}

// The fiscal book of the ECF is its Z reduction: a consumer nota of the
// day has lines of its own (model 02); a product's register changed after
// the sale changes nothing of the day; ICMS is the rate on each rate's
// total, shared among its lines.
TEST_F(LivrosDaRetaguarda, LivroFiscalIgualAReducaoZ) {
  for (std::uint32_t codigo : {15u, 16u}) {
    auto& p = e.movimento.Produto(codigo, codigo == 15 ? "SAL" : "MACARRAO").Tributacao('T', 700).registro;
    p.LocalEstoque = 2;
    p.GradeContabil = 2;
    p.CustoUltimaCompra = CY{300};
  }
  e.movimento.Cupom(1, kDia).Item(13, 1, 0.07).Item(15, 1, 0.07).Item(16, 1, 0.07).Item(10, 1, 12.5);
  e.movimento.NotaConsumidor(1, kDia, 101, 103).Item(10, 2, 12.5).Item(13, 1, 4);
  e.movimento.ReducaoZ(1, kDia);
  e.movimento.Grava();
  // Sugar went into substitution after its sale.
  Executa("UPDATE produto_filial SET tributacao = 'F', situacao_tributaria = '060' WHERE produto = 13");
  Executa("UPDATE estoque_posicao SET quantidade = 100000 WHERE produto = 13");
  ASSERT_EQ(QMX_ProcIntegraEF(Dia()), kIntegracaoCompleta);
  EXPECT_EQ(e.Linhas("SELECT modelo, produto, tributacao, aliquota, cfop, situacao_tributaria, valor, base_icms, "
                     "icms FROM livro_fiscal ORDER BY id"),
            (Linhas{"2D|10|T|1800|5.102|000|125000|125000|22500", "2D|13|T|700|5.102|000|700|700|0",
                    "2D|15|T|700|5.102|000|700|700|0", "2D|16|T|700|5.102|000|700|700|100",
                    "02|10|T|1800|5.102|000|250000|250000|45000", "02|13|T|700|5.102|000|40000|40000|2800"}));
  ASSERT_EQ(Integra(), (std::vector<std::int32_t>{0, 0, 0, 0}));
  const auto r = Confere();
  EXPECT_TRUE(r.Confere()) << testing::PrintToString(Diferencas(r));
}

// The drawer: money with change, money with a voucher for the change,
// money with the coins of change kept, a debit card, a cheque, a cash sale
// paid on a card and in money with change (the change out of the money),
// the day's withdrawal and float. The cash account moves by what the
// drawer holds; cards and cheques stay receivables, money is settled.
TEST_F(LivrosDaRetaguarda, CaixaIgualAGaveta) {
  e.movimento.Cupom(1, kDia).Item(10, 2, 12.5).Pagamento(1, 30).Pagamento(255, 5);
  e.movimento.Cupom(1, kDia).Item(13, 1, 94.13).Pagamento(1, 100).Pagamento(252, 5.87);
  e.movimento.Cupom(1, kDia).Item(13, 1, 45).Pagamento(1, 50).Pagamento(253, 0.03).Pagamento(255, 4.97);
  e.movimento.Cupom(1, kDia).Item(12, 1, 30).Pagamento(2, 30);
  e.movimento.Cupom(1, kDia).Item(10, 1, 20).Pagamento(3, 20);
  e.movimento.Cupom(1, kDia).Item(10, 1, 82.56).Pagamento(2, 20).Pagamento(1, 80).Pagamento(255, 17.44);
  e.movimento.NaoFiscal(1, kDia, 253, 100);
  e.movimento.NaoFiscal(1, kDia, 254, 50);
  e.movimento.ReducaoZ(1, kDia);
  e.movimento.Grava();
  Executa("UPDATE produto SET grade_contabil = 2 WHERE codigo = 12");
  Executa("UPDATE estoque_posicao SET quantidade = 1000000");
  ASSERT_EQ(Integra(), (std::vector<std::int32_t>{0, 0, 0, 0}));
  // The titles of the day's cash sales, per means; money is settled.
  EXPECT_EQ(e.Linhas("SELECT forma, valor, data_liquidacao FROM titulo_receber ORDER BY forma"),
            (Linhas{"1|2266900|" + kTexto10Nov, "2|500000|0", "3|200000|0"}));
  EXPECT_EQ(e.Linhas("SELECT conta_debito, conta_credito, valor FROM lancamento_contabil WHERE origem = 'FN' "
                     "ORDER BY id"),
            (Linhas{"1.1.03|1.1.01|500000", "1.1.04|1.1.01|200000", "1.1.01|2.1.01|58700", "1.1.01|4.2.01|300",
                    "1.1.06|1.1.01|1000000", "1.1.01|1.1.06|500000"}));
  // money 260,00 less change 27,41 less the withdrawal plus the float.
  EXPECT_EQ(e.Linhas("SELECT SUM(CASE WHEN conta_debito = '1.1.01' THEN valor ELSE -valor END) FROM "
                     "lancamento_contabil WHERE conta_debito = '1.1.01' OR conta_credito = '1.1.01'"),
            Linhas{std::to_string(2600000 - 274100 - 1000000 + 500000)});
  auto r = Confere();
  EXPECT_TRUE(r.Confere()) << testing::PrintToString(Diferencas(r));

  // An ECF without the account a figure of its drawer needs stops the
  // financial pass, which says which one and keeps what was there.
  const std::int64_t antes = Escritos();
  Executa("UPDATE emissora SET conta_tesouraria = ''");
  e.LimpaLog();
  EXPECT_EQ(QMX_ProcIntegraFN(Dia()), kIntegracaoInterrompida);
  const Linhas log = e.LinhasLog();
  EXPECT_EQ(Linhas(log.end() - 2, log.end()), (Linhas{"Configure a Conta de Tesouraria no Cadastro de ECFs.",
                                                      "Erro ao Setar Contas a Pagar e a Receber"}));
  EXPECT_EQ(Escritos(), antes);
}

// Change comes out of the money; a cupom without money takes it from its
// last payment.
TEST_F(LivrosDaRetaguarda, TrocoDoDinheiroOuDoUltimoPagamento) {
  e.movimento.Cliente(5, "MARIA");
  e.movimento.Cupom(1, kDia).Item(10, 1, 82.56).Cliente(5, "MARIA").Pagamento(3, 20).Pagamento(1, 80)
      .Pagamento(255, 17.44);
  e.movimento.Cupom(1, kDia).Item(10, 1, 95).Cliente(5, "MARIA").Pagamento(3, 50).Pagamento(2, 50)
      .Pagamento(255, 5);
  e.movimento.Grava();
  ASSERT_EQ(QMX_ProcIntegraFN(Dia()), kIntegracaoCompleta);
  EXPECT_EQ(e.Linhas("SELECT cupom, forma, valor FROM titulo_receber ORDER BY id"),
            (Linhas{"1|3|200000", "1|1|625600", "2|3|500000", "2|2|450000"}));
}

// The stock a place that may not go negative holds is counted at the
// cupom, the day's earlier cupons included: eleven units at the start of
// the day sell ten in single units, whatever the day's closing position
// says. The running cost starts from the start of that day; a tiny
// quantity of a cheap product leaves at one cent.
TEST_F(LivrosDaRetaguarda, SaldoDoLocalNoCupomECustoDoDia) {
  Executa("UPDATE estoque_posicao SET quantidade = 110000 WHERE produto = 13");
  e.movimento.Posicao(13, kDia, 1);  // what the stock module counted that evening
  for (int i = 0; i < 10; ++i) e.movimento.Cupom(1, kDia).Item(13, 1, 4);
  e.movimento.Cupom(1, kDia).Item(10, 0.001, 1000);
  e.movimento.ReducaoZ(1, kDia);
  e.movimento.Grava();
  Executa("UPDATE produto SET custo_ultima_compra = 17200 WHERE codigo = 10");
  ASSERT_EQ(Integra(), (std::vector<std::int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(e.Linhas("SELECT produto, COUNT(*), SUM(quantidade), MIN(valor), MAX(valor) FROM movimento_estoque "
                     "GROUP BY produto ORDER BY produto"),
            (Linhas{"10|1|-10|100|100", "13|10|-100000|25000|25000"}));
  EXPECT_EQ(e.Linhas("SELECT produto, quantidade, valor, data FROM saldo_local ORDER BY produto"),
            (Linhas{"10|999990|1719900|" + kTexto10Nov, "13|10000|25000|" + kTexto10Nov}));
  const auto r = Confere();
  EXPECT_TRUE(r.Confere()) << testing::PrintToString(Diferencas(r));
}

TEST_F(LivrosDaRetaguarda, TituloDeClienteQueNaoEstaMaisNoCadastro) {
  e.movimento.Cupom(1, kDia).Item(10, 1, 12.5).Pagamento(1, 12.5);
  e.movimento.Cupom(1, kDia).Item(10, 1, 12.5).Cliente(7, "JOSE").Pagamento(2, 12.5);
  e.movimento.Grava();
  e.LimpaLog();
  EXPECT_EQ(QMX_ProcIntegraFN(Dia()), kIntegracaoInterrompida);
  const Linhas log = e.LinhasLog();
  EXPECT_EQ(Linhas(log.end() - 2, log.end()),
            (Linhas{"Cupom Fiscal Nº 2: o Cliente 7 não está no Cadastro de Clientes; o título não foi gravado.",
                    "Não conseguiu Gravar Integração Financeiro (Venda Avista c/Cliente)"}));
  EXPECT_EQ(e.Conta("titulo_receber"), 0);
}

// What the accounting pass cannot post names what is missing; a failure of
// the database is a failure of the stock pass, with its cause, never an
// item left pending.
TEST_F(LivrosDaRetaguarda, ErrosComASuaCausa) {
  DiaComum(e);
  Executa("DELETE FROM plano_conta WHERE codigo = '1.1.01'");
  e.LimpaLog();
  EXPECT_EQ(QMX_ProcIntegraCN(Dia()), kIntegracaoInterrompida);
  EXPECT_EQ(e.LinhasLog().back(),
            "A conta contábil 1.1.01, conta de caixa (vendas à vista) do ECF 1, não existe no Plano de Contas.");
  std::set<std::int32_t> resultados;
  std::set<std::string> ultimas;
  const int passos = PassosDe([] { QMX_ProcIntegraES(Dia()); });
  for (int n = 1; n <= passos; ++n) {
    Executa("DELETE FROM movimento_estoque");
    Executa("DELETE FROM lancamento_contabil WHERE origem = 'ES'");
    Executa("UPDATE cupom_item SET integrado_estoque = 0");
    e.LimpaLog();
    const std::int32_t r = ComFalhaNoPasso(n, com::E_FAIL, [] { return QMX_ProcIntegraES(Dia()); });
    resultados.insert(r);
    const Linhas log = e.LinhasLog();
    for (const auto& l : log) EXPECT_EQ(l.rfind("Não reintegrou", 0), std::string::npos) << "passo " << n;
    if (r < 0 && !log.empty()) ultimas.insert(log.back().substr(0, 7));
  }
  EXPECT_EQ(resultados.count(kIntegracaoComPendencias), 0u);
  EXPECT_EQ(ultimas.count("Falha: "), 1u) << testing::PrintToString(ultimas);
}

// The reconciliation finds each thing an accountant would find wrong, each
// in its group, on a day that otherwise agrees.
TEST_F(LivrosDaRetaguarda, ConferenciaAchaCadaDiferenca) {
  e.movimento.Cliente(5, "MARIA");
  e.movimento.Cupom(1, kDia).Item(10, 2, 12.5).Item(11, 1, 8).Servico(20, 1, 5).Pagamento(1, 40).Pagamento(255, 2);
  e.movimento.Cupom(1, kDia).Item(13, 1, 4.35).Cliente(5, "MARIA").Pagamento(2, 4.35);
  e.movimento.Cupom(1, kDia).Item(10, 1, 12.5).Pagamento(3, 12.5);
  e.movimento.NaoFiscal(1, kDia, 253, 10);
  e.movimento.ReducaoZ(1, kDia);
  e.movimento.Grava();
  ASSERT_EQ(Integra(), (std::vector<std::int32_t>{0, 0, 0, 0}));
  ASSERT_TRUE(Confere().Confere()) << testing::PrintToString(Diferencas(Confere()));
  struct Caso {
    const char* estrago;
    const char* conserto;
    const char* achado;  // the start of the first difference
  } casos[] = {
      {"UPDATE livro_fiscal SET icms = icms + 100 WHERE aliquota = 1800",
       "UPDATE livro_fiscal SET icms = icms - 100 WHERE aliquota = 1800", "livro fiscal × redução Z: ICMS 18,00%"},
      {"UPDATE livro_fiscal SET valor = valor - 100 WHERE tributacao = 'F'",
       "UPDATE livro_fiscal SET valor = valor + 100 WHERE tributacao = 'F'", "livro fiscal × redução Z: F"},
      {"UPDATE lancamento_contabil SET valor = valor + 100 WHERE origem = 'CN' AND conta_credito = '4.1.04'",
       "UPDATE lancamento_contabil SET valor = valor - 100 WHERE origem = 'CN' AND conta_credito = '4.1.04'",
       "caixa × gaveta"},
      {"UPDATE lancamento_contabil SET valor = valor + 100 WHERE conta_debito = '1.1.06'",
       "UPDATE lancamento_contabil SET valor = valor - 100 WHERE conta_debito = '1.1.06'", "caixa × gaveta"},
      {"UPDATE titulo_receber SET forma = 3 WHERE forma = 2", "UPDATE titulo_receber SET forma = 2 WHERE cupom = 2",
       "títulos × pagamentos"},
      {"UPDATE titulo_receber SET data_liquidacao = 0 WHERE forma = 1",
       "UPDATE titulo_receber SET data_liquidacao = data WHERE forma = 1",
       "1 título(s) recebido(s) em dinheiro sem liquidação"},
      {"UPDATE titulo_receber SET data_liquidacao = data WHERE forma = 3",
       "UPDATE titulo_receber SET data_liquidacao = 0 WHERE forma = 3",
       "1 título(s) de cartão, cheque ou a prazo dado(s) como liquidado(s)"},
      {"UPDATE cfrt SET codigo = 6 WHERE codigo = 5", "UPDATE cfrt SET codigo = 5 WHERE codigo = 6",
       "1 título(s) de cliente fora do cadastro"},
      {"UPDATE movimento_estoque SET quantidade = quantidade + 10 WHERE produto = 13",
       "UPDATE movimento_estoque SET quantidade = quantidade - 10 WHERE produto = 13", "estoque: vendido × baixado"},
      {"UPDATE lancamento_contabil SET valor = valor + 100 WHERE origem = 'ES' AND movimento = 1",
       "UPDATE lancamento_contabil SET valor = valor - 100 WHERE origem = 'ES' AND movimento = 1",
       "estoque: movimentos × lançamentos"},
      {"UPDATE saldo_local SET quantidade = quantidade + 10 WHERE produto = 10",
       "UPDATE saldo_local SET quantidade = quantidade - 10 WHERE produto = 10", "estoque: saldos × custo médio"},
      {"DELETE FROM chave_integracao WHERE modulo = 'EF'", "", "o dia não foi integrado com o fiscal"},
  };
  for (const auto& c : casos) {
    Executa(c.estrago);
    const auto r = Confere();
    EXPECT_FALSE(r.Confere()) << c.estrago;
    const Linhas d = Diferencas(r);
    EXPECT_TRUE(std::any_of(d.begin(), d.end(), [&](const std::string& l) { return l.rfind(c.achado, 0) == 0; }))
        << c.estrago << "\n" << testing::PrintToString(d);
    if (*c.conserto) Executa(c.conserto);
    if (*c.conserto) {
      EXPECT_TRUE(Confere().Confere()) << c.conserto;
    }
  }
}

class LeituraDepoisDaTrava : public NosDoisMotores {};

// A cupom cancelled by another terminal while the financial pass waits for
// the ECF (held by that terminal's own pass) is read as cancelled: the
// pass reads the day only once it holds the ECF.
TEST_P(LeituraDepoisDaTrava, CupomCanceladoEnquantoOPassoEsperava) {
  EmpresaIntegracao e(GetParam());
  e.movimento.Cupom(1, kDia).Item(10, 1, 12.5).Pagamento(2, 12.5);
  e.movimento.Cupom(1, kDia).Item(10, 2, 12.5).Pagamento(2, 25);
  e.movimento.Grava();
  // The other terminal: holds the ECF as its own pass does, cancels the
  // cupom, and commits a moment after this terminal's pass has started.
  const std::string endereco = e.empresa.Endereco();
  const pid_t outro = fork();
  if (outro == 0) {
    auto sessao = dados::AbreSessao(endereco);
    sessao->Inicia();
    sessao->Executa("UPDATE emissora SET numero = numero WHERE numero = 1", {});
    sessao->Executa("UPDATE cupom SET cancelado = 1 WHERE id = 2", {});
    usleep(600 * 1000);
    sessao->Confirma();
    _exit(0);
  }
  usleep(200 * 1000);
  const pid_t filho = fork();
  if (filho == 0) _exit(QMX_ProcIntegraFN(EmpresaIntegracao::Parametros(kDia, 1)) == kIntegracaoCompleta ? 0 : 1);
  for (const pid_t processo : {outro, filho}) {
    int estado = 0;
    waitpid(processo, &estado, 0);
    ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  }
  EXPECT_EQ(e.Linhas("SELECT forma, valor FROM titulo_receber"), Linhas{"2|125000"});
}

QMX_NOS_DOIS_MOTORES(LeituraDepoisDaTrava);

}  // namespace
