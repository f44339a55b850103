// The accounting, fiscal and financial passes on one day of the
// integration company: the rows each writes, the log, the stops, and a
// second run that replaces the first instead of doubling it.
#include <gtest/gtest.h>

#include <set>

#include "apoio/ProgramaQmx.h"
#include "plataforma/calendario/DataCodificada.h"
#include "integracao/ConferenciaIntegracao.h"
#include "integracao/EmpresaIntegracao.h"
#include "integracao/QMXIntegracao.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/texto/Windows1252.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

using Linhas = std::vector<std::string>;

// For the tests that drive qmx through a POSIX shell (not built on Windows).
[[maybe_unused]] std::string U8(const std::string& texto) { return texto::ParaUtf8(texto); }

class IntegracaoPassos : public ::testing::Test {
 protected:
  // Cupom 1 cash without customer (products 10 and 11, service 20), cupom 2
  // on credit in one installment, cupom 3 cash to customer 5; the change
  // given back (means 255) comes off what was handed over.
  IntegracaoPassos() {
    const auto dia = EmpresaIntegracao::kDia;
    e.movimento.Cliente(5, "MARIA");
    e.movimento.Cupom(1, dia).Item(10, 2, 12.50).Item(11, 1, 8).Servico(20, 1, 5).Pagamento(1, 40).Pagamento(255, 2);
    auto& prazo = e.movimento.Cupom(1, dia).Item(10, 1, 12.50).Pagamento(2, 12.50).Parcela(12.50, 6, dia + 30);
    prazo.registro.CondicaoPagamento = 2;
    e.movimento.Cupom(1, dia).Item(12, 1, 9.90).Cliente(5, "MARIA").Pagamento(1, 10).Pagamento(255, 0.10);
    e.movimento.Cupom(1, dia).Item(10, 5, 1).Cancelado();
    e.movimento.Cupom(1, dia).Item(11, 1, 4).Pagamento(1, 4).Parcela(4, 11, dia + 15);  // post-dated cheque
    e.movimento.Grava();
  }

  void Executa(const std::string& sql) { e.empresa.Gravador().Sessao().Executa(sql, {}); }
  static REG_QMX_PARAMETROS_INTEGRACAO Dia() { return EmpresaIntegracao::Parametros(EmpresaIntegracao::kDia, 1); }

  EmpresaIntegracao e;
};

TEST_F(IntegracaoPassos, ContabilidadeTotalizaPorProdutoEServicoERefazSemDobrar) {
  const Linhas esperadas{
      // Cash sales owed by the cash account, credit sales (the installment
      // of cupom 2, the post-dated cheque of cupom 5) by the sales clearing.
      "1.1.01|4.1.02|250000|Vendas à vista ECF 1 - 10 ARROZ|CN",
      "1.1.05|4.1.02|125000|Vendas a prazo ECF 1 - 10 ARROZ|CN",
      "1.1.01|4.1.03|80000|Vendas à vista ECF 1 - 11 FEIJAO|CN",
      "1.1.05|4.1.03|40000|Vendas a prazo ECF 1 - 11 FEIJAO|CN",
      "1.1.01|4.1.02|99000|Vendas à vista ECF 1 - 12 OLEO|CN",
      "1.1.01|4.1.04|50000|Vendas à vista ECF 1 - 20 ENTREGA|CN",
  };
  const char* sql = "SELECT conta_debito, conta_credito, valor, historico, origem FROM lancamento_contabil ORDER BY id";
  for (int vez = 0; vez < 2; ++vez) {
    e.LimpaLog();
    ASSERT_EQ(QMX_ProcIntegraCN(Dia()), kIntegracaoCompleta);
    EXPECT_EQ(e.Linhas(sql), esperadas);
    EXPECT_EQ(e.LinhasLog(), (Linhas{"Integrando com Contabilidade", "Integrando valores totalizados dos Produtos.",
                                     "Integrando valores totalizados dos Serviços.",
                                     "Finalizando Integrações com Contabilidade."}));
  }
  EXPECT_EQ(e.Linhas("SELECT modulo, data, emissora, sev, fac FROM chave_integracao"),
            Linhas{"CN|" + std::to_string(EmpresaIntegracao::kDia) + "|1|1|1"});
}

TEST_F(IntegracaoPassos, ContabilidadeParaNaPrimeiraConfiguracaoQueFalta) {
  struct Caso {
    std::string ajuste;
    const char* linha;
  } casos[] = {
      {"UPDATE filial SET mes_bloqueado_contabil = " + std::to_string(CodificaMes(11, 2026)),
       "Bloqueio de integração/lançamento contábil 11/26"},
      {"UPDATE emissora SET grade_mercadorias = 0, grade_servicos = 0",
       "Configure as Grades Contábeis para Mercadorias no Cadastro de ECFs."},
      {"UPDATE emissora SET grade_produtos = 0, grade_servicos = 0",
       "Configure as Grades Contábeis para Produtos no Cadastro de ECFs."},
      {"UPDATE emissora SET grade_servicos = 0", "Configure as Grades Contábeis para Serviços no Cadastro de ECFs."},
      {"UPDATE emissora SET conta_substituicao = '', conta_servicos = ''",
       "Configure a Conta Contábil Classificação Substituição Tributária no Cadastro de ECFs"},
      {"UPDATE emissora SET conta_produtos = ''",
       "Configure a Conta Contábil Classificação Protutos no Cadastro de ECFs"},
  };
  for (const auto& c : casos) {
    Executa("UPDATE filial SET mes_bloqueado_contabil = 0");
    Executa("UPDATE emissora SET grade_produtos = 1, grade_mercadorias = 1, grade_substituicao = 1, "
            "grade_servicos = 1, conta_produtos = '4.1.01', conta_substituicao = '4.1.03', conta_servicos = '4.1.04'");
    Executa(c.ajuste);
    e.LimpaLog();
    EXPECT_EQ(QMX_ProcIntegraCN(Dia()), kIntegracaoInterrompida) << c.linha;
    EXPECT_EQ(e.LinhasLog(), (Linhas{"Integrando com Contabilidade", c.linha}));
  }
  // The month before and after the blocked one are open.
  Executa("UPDATE emissora SET conta_produtos = '4.1.01'");
  for (std::uint16_t mes : {10, 12}) {
    Executa("UPDATE filial SET mes_bloqueado_contabil = " + std::to_string(CodificaMes(mes, 2026)));
    EXPECT_EQ(QMX_ProcIntegraCN(Dia()), kIntegracaoCompleta) << mes;
  }
  EXPECT_EQ(e.Conta("lancamento_contabil"), 6);
}

TEST_F(IntegracaoPassos, ContaQueExigeGerencialParaAContabilidade) {
  Executa("UPDATE plano_conta SET exige_gerencial = 1 WHERE codigo = '1.1.05'");
  EXPECT_EQ(QMX_ProcIntegraCN(Dia()), kIntegracaoInterrompida);
  EXPECT_EQ(e.LinhasLog().back(), "Erro ao Setar Contas no Rateio Gerencial");
  EXPECT_EQ(e.Conta("lancamento_contabil"), 0);
}

TEST_F(IntegracaoPassos, FiscalAgrupaPorProdutoEAliquotaERefazSemDobrar) {
  const Linhas esperadas{
      "10|0|5102|5.102|1800|30000|375000|375000|67500|000|UN|Integração - Torvo ECF|165|760",
      "11|0|5405|5.405|0|20000|120000|0|0|060|UN|Integração - Torvo ECF|0|0",
      "12|0|5102|5.102|1200|10000|99000|99000|11800|000|UN|Integração - Torvo ECF|0|0",
      "0|20|5933|5.933|500|10000|50000|0|0||SV|Integração - Torvo ECF|65|300",
  };
  const char* sql =
      "SELECT produto, servico, natureza, cfop, aliquota, quantidade, valor, base_icms, icms, situacao_tributaria, "
      "unidade, historico, aliquota_pis, aliquota_cofins FROM livro_fiscal ORDER BY servico, produto";
  for (int vez = 0; vez < 2; ++vez) {
    ASSERT_EQ(QMX_ProcIntegraEF(Dia()), kIntegracaoCompleta);
    EXPECT_EQ(e.Linhas(sql), esperadas);
  }
  EXPECT_EQ(e.Linhas("SELECT COUNT(*) FROM chave_integracao WHERE modulo = 'EF'"), Linhas{"1"});
}

TEST_F(IntegracaoPassos, FiscalParaNoPrimeiroItemOuLinhaRecusada) {
  struct Caso {
    const char* ajuste;
    const char* desfaz;
    const char* linha;
  } casos[] = {
      {"UPDATE cupom_item SET tributacao = 'X' WHERE cupom = 3", "UPDATE cupom_item SET tributacao = 'T' WHERE cupom = 3",
       "Situação Tributária ECF inválida;\n\nProduto: 12 - OLEO\n\nFavor acessar o cadastro de produtos e informar "
       "\nesse campo antes de efetuar as integrações."},
      {"UPDATE cupom_item SET codigo = 0 WHERE cupom = 3", "UPDATE cupom_item SET codigo = 12 WHERE cupom = 3",
       "Produto com código zerado."},
      {"DELETE FROM natureza WHERE codigo = 5405", "INSERT INTO natureza VALUES (5405, 'VENDA ST', '5405')",
       "A natureza não está cadastrada no fiscal"},
      {"UPDATE mestre_ec SET natureza_servico = 0", "UPDATE mestre_ec SET natureza_servico = 5933",
       "Campo Natureza não foi informado"},
      {"DELETE FROM produto_filial WHERE produto = 11",
       "INSERT INTO produto_filial VALUES (11, 1, '060', 'F', 0)",
       "Erro ao buscar informações fiscais por filial do produto 11."},
  };
  ASSERT_EQ(QMX_ProcIntegraEF(Dia()), kIntegracaoCompleta);
  const auto antes = e.Linhas("SELECT * FROM livro_fiscal ORDER BY id");
  for (const auto& c : casos) {
    e.LimpaLog();
    Executa(c.ajuste);
    EXPECT_EQ(QMX_ProcIntegraEF(Dia()), kIntegracaoInterrompida) << c.linha;
    EXPECT_EQ(e.LinhasLog(), Linhas{c.linha});
    // The earlier integration stays whole: the failed run undid its removal.
    EXPECT_EQ(e.Linhas("SELECT * FROM livro_fiscal ORDER BY id"), antes) << c.linha;
    Executa(c.desfaz);
  }
}

TEST_F(IntegracaoPassos, FinanceiroTitulosPorParcelaClienteEFormaERefazSemDobrar) {
  const std::string prazo = std::to_string(EmpresaIntegracao::kDia + 30);
  const std::string hoje = std::to_string(EmpresaIntegracao::kDia);
  const Linhas esperadas{
      "2|0|2|6|1|" + prazo + "|125000|1.1.03|Torvo ECF - Filial Nº 1, Caixa Nº 1, Cupom Fiscal Nº 2, Titulo Nº 1",
      "3|5|1|0|1|" + hoje + "|99000|1.1.01|Torvo ECF - Filial Nº 1, Caixa Nº 1, Cupom Fiscal Nº 3, Titulo Nº 1",
      "5|0|1|11|1|" + std::to_string(EmpresaIntegracao::kDia + 15) +
          "|40000|1.1.01|Torvo ECF - Filial Nº 1, Caixa Nº 1, Cupom Fiscal Nº 5, Titulo Nº 1",
      "0|0|1|0|0|" + hoje + "|380000|1.1.01|Torvo ECF - Filial Nº 1, Caixa Nº 1, vendas Avista nessa data. ",
  };
  const char* sql =
      "SELECT cupom, cliente, forma, tipo_documento, numero, vencimento, valor, conta, historico FROM titulo_receber "
      "ORDER BY id";
  for (int vez = 0; vez < 2; ++vez) {
    e.LimpaLog();
    ASSERT_EQ(QMX_ProcIntegraFN(Dia()), kIntegracaoCompleta);
    EXPECT_EQ(e.Linhas(sql), esperadas);
    EXPECT_EQ(e.LinhasLog(), (Linhas{"Iniciando Integração com Torvo Financeiro...",
                                     "Integração com Torvo Financeiro concluída..."}));
  }
  // The titles' accounting: the card installment and the post-dated cheque
  // of the credit sales leave the clearing account; the cash titles are in
  // the cash account already.
  const char* lancamentos =
      "SELECT conta_debito, conta_credito, valor FROM lancamento_contabil WHERE origem = 'FN' ORDER BY id";
  EXPECT_EQ(e.Linhas(lancamentos), (Linhas{"1.1.03|1.1.05|125000", "1.1.01|1.1.05|40000"}));
  // What stops the pass keeps what was there.
  struct Caso {
    const char* ajuste;
    Linhas fim;
  } casos[] = {
      {"UPDATE forma_pagamento SET conta_entrada_fn = '' WHERE codigo = 1",
       {"Não existe Conta Entrada FN para a Forma de Pagamento DINHEIRO"}},
      {"UPDATE forma_pagamento SET conta_entrada_fn = '1.1.09' WHERE codigo = 2",
       {"Erro ao Setar Contabilização a Pagar e a Receber", "Uma Conta débito informada não está cadastrada (FN 641)"}},
      {"UPDATE emissora SET conta_caixa = ''",
       {"Configure as Contas Transitória de Vendas e de Caixa no Cadastro de ECFs.",
        "Erro ao Setar Contas a Pagar e a Receber"}},
  };
  for (const auto& c : casos) {
    Executa("UPDATE forma_pagamento SET conta_entrada_fn = '1.1.0' || codigo");
    Executa("UPDATE emissora SET conta_caixa = '1.1.01'");
    Executa(c.ajuste);
    e.LimpaLog();
    EXPECT_EQ(QMX_ProcIntegraFN(Dia()), kIntegracaoInterrompida) << c.ajuste;
    const Linhas log = e.LinhasLog();
    EXPECT_EQ(Linhas(log.end() - static_cast<std::ptrdiff_t>(std::min(log.size(), c.fim.size())), log.end()), c.fim);
    EXPECT_EQ(e.Linhas(sql), esperadas);
    EXPECT_EQ(e.Conta("lancamento_contabil"), 2);
  }
}

// Every payment once, whatever the cupom: a cash down payment before card
// installments, a card's holder in its title (fields at their full width),
// cash without a customer in two means less the change, a cheque taken at
// the till. Each title is accounted and the cheque settled into cash. The
// reconciliation then finds nothing missing or doubled, and finds a title
// or an entry changed afterwards; installments beyond what a cupom
// received stop the pass and keep what was there.
TEST(IntegracaoFinanceira, CadaPagamentoUmaVezEConferido) {
  EmpresaIntegracao e;
  const auto dia = EmpresaIntegracao::kDia;
  e.movimento.Cliente(5, "MARIA");
  e.movimento.Cupom(1, dia).Item(10, 8, 15).Cliente(5, "MARIA").Pagamento(1, 30).Pagamento(2, 90)
      .Parcela(30, 6, dia + 30).Parcela(30, 6, dia + 60).Parcela(30, 6, dia + 90);
  const std::string nome(40, 'J'), cidade = "SÃO JOSÉ DO RIO PRETO", mensagem(40, 'M');
  e.movimento.Cupom(1, dia).Item(12, 1, 20).Cliente(5, "MARIA").Pagamento(2, 20)
      .Titular(nome.c_str(), cidade.c_str(), "(17) 99123-4567", mensagem.c_str());
  e.movimento.Cupom(1, dia).Item(10, 4, 12.5).Pagamento(1, 50).Pagamento(2, 10).Pagamento(255, 10);
  e.movimento.Cupom(1, dia).Item(13, 1, 15).Pagamento(3, 15);
  e.movimento.Grava();
  ASSERT_EQ(QMX_ProcIntegraFN(EmpresaIntegracao::Parametros(dia, 1)), kIntegracaoCompleta);
  ASSERT_EQ(QMX_ProcIntegraCN(EmpresaIntegracao::Parametros(dia, 1)), kIntegracaoCompleta);
  const auto d = [&](int dias) { return std::to_string(dia + dias); };
  const Linhas titulos{"1|5|2|6|1|" + d(30) + "|300000", "1|5|2|6|2|" + d(60) + "|300000",
                       "1|5|2|6|3|" + d(90) + "|300000", "1|5|1|0|4|" + d(0) + "|300000",
                       "2|5|2|0|1|" + d(0) + "|200000", "0|0|1|0|0|" + d(0) + "|400000",
                       "0|0|2|0|0|" + d(0) + "|100000", "0|0|3|0|0|" + d(0) + "|150000"};
  const char* sql = "SELECT cupom, cliente, forma, tipo_documento, numero, vencimento, valor FROM titulo_receber "
                    "ORDER BY id";
  EXPECT_EQ(e.Linhas(sql), titulos);
  EXPECT_EQ(e.Linhas("SELECT historico FROM titulo_receber WHERE cupom = 2"),
            Linhas{"Torvo ECF - Filial Nº 1, Caixa Nº 1, Cupom Fiscal Nº 2, Titulo Nº 1 - Titular: " + nome +
                   " - Cidade: " + cidade + " - Telefone: (17) 99123-4567 - Mensagem: " + mensagem});

  // Cupom 1 is a credit sale (its down payment too), the others cash sales.
  // The cheque stays a receivable until it is deposited: no entry moves it
  // into the cash.
  EXPECT_EQ(e.Linhas("SELECT conta_debito, conta_credito, valor FROM lancamento_contabil WHERE origem = 'FN' "
                     "ORDER BY id"),
            (Linhas{"1.1.03|1.1.05|300000", "1.1.03|1.1.05|300000", "1.1.03|1.1.05|300000", "1.1.01|1.1.05|300000",
                    "1.1.03|1.1.01|200000", "1.1.03|1.1.01|100000", "1.1.04|1.1.01|150000"}));
  // Only the money taken at the till is settled on the day.
  EXPECT_EQ(e.Linhas("SELECT forma, valor FROM titulo_receber WHERE data_liquidacao = " + d(0) + " ORDER BY id"),
            (Linhas{"1|300000", "1|400000"}));

  auto& sessao = e.empresa.Gravador().Sessao();
  const CConferenciaIntegracao conferencia({e.empresa.Chave(), 1, 0});
  ASSERT_EQ(QMX_ProcIntegraEF(EmpresaIntegracao::Parametros(dia, 1)), kIntegracaoCompleta);
  sessao.Executa("UPDATE produto SET grade_contabil = 2 WHERE codigo = 12", {});
  ASSERT_EQ(QMX_ProcIntegraES(EmpresaIntegracao::Parametros(dia, 1)), kIntegracaoCompleta);
  e.movimento.ReducaoZ(1, dia);
  e.movimento.Grava();
  auto r = conferencia.Confere(dia, 1);
  EXPECT_TRUE(r.Confere()) << testing::PrintToString(r.problemas);
  // A title's entry changed in value or account, the accounting pass's
  // debit of the clearing account, a title's value: each is a difference.
  const std::pair<const char*, const char*> estragos[] = {
      {"lancamento_contabil SET valor = valor + 100 WHERE conta_credito = '1.1.01' AND conta_debito = '1.1.04'",
       "lancamento_contabil SET valor = valor - 100 WHERE conta_credito = '1.1.01' AND conta_debito = '1.1.04'"},
      {"lancamento_contabil SET conta_debito = '1.1.04' WHERE valor = 200000 AND origem = 'FN'",
       "lancamento_contabil SET conta_debito = '1.1.03' WHERE valor = 200000 AND origem = 'FN'"},
      {"lancamento_contabil SET valor = valor - 100 WHERE origem = 'CN' AND conta_debito = '1.1.05'",
       "lancamento_contabil SET valor = valor + 100 WHERE origem = 'CN' AND conta_debito = '1.1.05'"},
      {"titulo_receber SET valor = valor + 100 WHERE cupom = 1 AND numero = 4",
       "titulo_receber SET valor = valor - 100 WHERE cupom = 1 AND numero = 4"}};
  for (const auto& [estrago, conserto] : estragos) {
    sessao.Executa(std::string("UPDATE ") + estrago, {});
    EXPECT_FALSE(conferencia.Confere(dia, 1).Confere()) << estrago;
    sessao.Executa(std::string("UPDATE ") + conserto, {});
  }
  EXPECT_TRUE(conferencia.Confere(dia, 1).Confere());

  e.movimento.Cupom(1, dia).Item(10, 1, 10).Pagamento(1, 10).Parcela(20, 6, dia + 30);
  e.movimento.Grava();
  e.LimpaLog();
  EXPECT_EQ(QMX_ProcIntegraFN(EmpresaIntegracao::Parametros(dia, 1)), kIntegracaoInterrompida);
  const Linhas log = e.LinhasLog();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "Cupom Fiscal Nº 6: parcelas maiores que os pagamentos.");
  EXPECT_EQ(log.back(), "Não conseguiu Gravar Integração Financeiro (Venda A Prazo)");
  EXPECT_EQ(e.Linhas(sql), titulos);
}

// A server that is not there when the financial pass starts is named, and
// the pass stops there.
TEST(IntegracaoFinanceira, ServidorQueNaoIniciaEDito) {
  EmpresaIntegracao e;
  e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(10, 1, 10).Pagamento(1, 10);
  e.movimento.Grava();
  std::set<std::string> ultimas;
  for (int inicio = 1; inicio <= 20; ++inicio) {
    e.LimpaLog();
    dados::CFalhaInicializacaoInjetada falha(inicio, com::RPC_S_SERVER_UNAVAILABLE);
    if (QMX_ProcIntegraFN(EmpresaIntegracao::Parametros(EmpresaIntegracao::kDia, 1)) != kIntegracaoCompleta &&
        !e.LinhasLog().empty())
      ultimas.insert(e.LinhasLog().back());
  }
  for (const char* texto : {"Erro ao Buscar Ponteiros no Servidor de Caixa",
                            "Erro ao Iniciar o Servidor de Contas a Receber e Pagar do Torvo Financeiro",
                            "Erro ao Iniciar o Servidor de Cadastro de Formas de Pagamento",
                            "Erro ao Iniciar o Servidor de Cadastro de Condições de Pagamento",
                            "Erro ao Setar Contabilização a Pagar e a Receber"})
    EXPECT_EQ(ultimas.count(texto), 1u) << texto << "\n" << testing::PrintToString(ultimas);
}

#if !defined(_WIN32)  // qmx is driven through a POSIX shell
TEST_F(IntegracaoPassos, PelaLinhaDeComando) {
  const std::string log = " --diretorio '" + e.ArquivoLog() + "'";
  const std::string empresa = "--empresa " + e.empresa.Chave() + " ";
  ConfereSaida(Qmx(empresa + "integra-cupom --data 10/11/2026 --ecf 1 --cupom 1" + log), 0,
               {"QMX_IntegraCupomES: 0 (integrado)"});
  const Execucao dia = Qmx(empresa + "integra es --data 10/11/2026 --ecf 2" + log);
  EXPECT_NE(dia.saida.find("QMX_ProcIntegraES: 0x80004005 (interrompida)"), std::string::npos) << dia.saida;
  EXPECT_EQ(Qmx(empresa + "integra xx --data 10/11/2026 --ecf 1").codigo, 2);
  const Execucao falta = Qmx(empresa + "integra-cupom --data 10/11/2026 --ecf 1 --cupom 99" + log);
  EXPECT_NE(falta.saida.find(U8("cupom 99 do ECF 1 em 10/11/2026 não encontrado")), std::string::npos) << falta.saida;
  EXPECT_EQ(e.LinhasLog().back(), "Campo \"CFOP\", no Cadastro de ECF, deve ser informado.");
  // The reconciliation: a day not yet in the financial module differs; the
  // financial pass then integrates it.
  ConfereSaida(Qmx(empresa + "integra conferir --data 10/11/2026 --ecf 1"), 1,
               {U8("o dia não foi integrado com o financeiro")});
  ASSERT_EQ(Qmx(empresa + "integra fn --data 10/11/2026 --ecf 1" + log).codigo, 0);
}
#endif  // !_WIN32

}  // namespace
