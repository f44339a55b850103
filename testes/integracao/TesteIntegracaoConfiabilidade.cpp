// What the integration leaves behind when a server fails at any step, when
// the process is killed at any moment, and when two terminals run the same
// pass at once: every item integrated exactly once, and the other passes
// either their old result or their new one, never half of one.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "apoio/Motores.h"
#include "integracao/EmpresaIntegracao.h"
#include "integracao/QMXIntegracao.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

using Linhas = std::vector<std::string>;
using Passo = std::int32_t (*)(REG_QMX_PARAMETROS_INTEGRACAO);

REG_QMX_PARAMETROS_INTEGRACAO Dia() { return EmpresaIntegracao::Parametros(EmpresaIntegracao::kDia, 1); }

// A day of cupons whose two product items go into the stock, paid by
// cheque at the till (a title accounted, to be deposited), the last one in
// money with a credit voucher for its change (booked as owed).
void DiaDeVendas(EmpresaIntegracao& e, int cupons = 30) {
  for (int i = 0; i < cupons; ++i) {
    auto& cupom = e.movimento.Cupom(1, EmpresaIntegracao::kDia).Item(10, 1, 2.5).Item(11, 2, 4).Servico(20, 1, 3);
    if (i + 1 < cupons) cupom.Pagamento(3, 13.5);
    else cupom.Pagamento(1, 20).Pagamento(252, 6.5);
  }
  e.movimento.Grava();
}

// Items whose mark disagrees with the movements and entries written, and
// places whose running quantity is not their balance (the last position
// before the day and the movements written).
std::int64_t Desacordos(EmpresaIntegracao& e) {
  const auto linhas = e.Linhas(
      "SELECT "
      "(SELECT COUNT(*) FROM saldo_local s WHERE s.quantidade <> COALESCE((SELECT p.quantidade FROM estoque_posicao p "
      " WHERE p.filial = s.filial AND p.produto = s.produto AND p.data < " +
      std::to_string(EmpresaIntegracao::kDia) +
      " ORDER BY p.data DESC LIMIT 1), 0) + COALESCE((SELECT SUM(m.quantidade) FROM movimento_estoque m WHERE "
      " m.filial = s.filial AND m.local_estoque = s.local_estoque AND m.produto = s.produto), 0)) + "
      "(SELECT COUNT(*) FROM cupom_item i WHERE i.integrado_estoque = 1 AND "
      " (SELECT COUNT(*) FROM movimento_estoque m WHERE m.cupom = i.cupom AND m.item = i.item) <> 1) + "
      "(SELECT COUNT(*) FROM cupom_item i WHERE i.integrado_estoque = 0 AND "
      " EXISTS (SELECT 1 FROM movimento_estoque m WHERE m.cupom = i.cupom AND m.item = i.item)) + "
      "(SELECT COUNT(*) FROM movimento_estoque m WHERE "
      " (SELECT COUNT(*) FROM lancamento_contabil l WHERE l.movimento = m.id) <> 1)");
  return std::stoll(linhas.front());
}

std::int64_t Marcados(EmpresaIntegracao& e) {
  return std::stoll(e.Linhas("SELECT COUNT(*) FROM cupom_item WHERE integrado_estoque = 1").front());
}

void DesfazEstoque(EmpresaIntegracao& e) {
  auto& s = e.empresa.Gravador().Sessao();
  s.Executa("DELETE FROM movimento_estoque", {});
  s.Executa("DELETE FROM lancamento_contabil WHERE origem = 'ES'", {});
  s.Executa("DELETE FROM saldo_local", {});
  s.Executa("UPDATE cupom_item SET integrado_estoque = 0", {});
}

// What a pass wrote, without the numbers the servers gave the rows.
Linhas Escrito(EmpresaIntegracao& e) {
  Linhas todas;
  for (const char* sql :
       {"SELECT conta_debito, conta_credito, valor, historico FROM lancamento_contabil WHERE origem <> 'ES' "
        "ORDER BY historico, valor",
        "SELECT produto, servico, valor, icms FROM livro_fiscal ORDER BY servico, produto",
        "SELECT cupom, forma, numero, valor, historico FROM titulo_receber ORDER BY cupom, numero, forma",
        "SELECT modulo, COUNT(*) FROM chave_integracao GROUP BY modulo ORDER BY modulo"})
    for (auto& linha : e.Linhas(sql)) todas.push_back(linha);
  return todas;
}

// Runs a pass in a child process; answers its process id.
pid_t PassaEmFilho(Passo passo) {
  const pid_t filho = fork();
  if (filho == 0) _exit(passo(Dia()) >= 0 ? 0 : 1);
  return filho;
}

int Espera(pid_t filho) {
  int estado = 0;
  waitpid(filho, &estado, 0);
  return estado;
}

TEST(IntegracaoConfiabilidade, FalhaEmCadaPassoDoEstoqueNaoDobraNemPerde) {
  EmpresaIntegracao e;
  DiaDeVendas(e, 6);
  const int passos = PassosDe([] { EXPECT_EQ(QMX_ProcIntegraES(Dia()), kIntegracaoCompleta); });
  ASSERT_GT(passos, 40);
  // The log of each failed pass, by its lines.
  std::set<std::vector<std::string>> logs;
  for (int n = 1; n <= passos; ++n) {
    DesfazEstoque(e);
    e.LimpaLog();
    // Some steps may fail without stopping anything (the preparation's
    // answer is not examined); what counts is what stays written.
    if (ComFalhaNoPasso(n, com::RPC_S_SERVER_UNAVAILABLE, [] { return QMX_ProcIntegraES(Dia()); }) != kIntegracaoCompleta)
      logs.insert(e.LinhasLog());
    ASSERT_EQ(Desacordos(e), 0) << "passo " << n;
    ASSERT_EQ(QMX_ProcIntegraES(Dia()), kIntegracaoCompleta) << "passo " << n;
    ASSERT_EQ(Desacordos(e), 0) << "passo " << n;
    ASSERT_EQ(Marcados(e), 12) << "passo " << n;
  }
  // The day's cupons that could not be found, or found and not read.
  EXPECT_EQ(logs.count({"Não foi possivel buscar os Ponteiros de Cupons Fiscais do dia: 10/11/2026"}), 1u);
  EXPECT_EQ(logs.count({"Verificando cupons fiscais emitidos no dia: 10/11/2026",
                        "Não foi possivel buscar os Cupons Fiscais do dia: 10/11/2026"}),
            1u)
      << testing::PrintToString(logs);
}

TEST(IntegracaoConfiabilidade, FalhaEmCadaPassoDasOutrasIntegracoesGuardaOResultadoAnterior) {
  EmpresaIntegracao e;
  DiaDeVendas(e, 6);
  std::set<std::string> falhas;  // every line the failures logged
  for (Passo passo : {&QMX_ProcIntegraCN, &QMX_ProcIntegraEF, &QMX_ProcIntegraFN}) {
    ASSERT_EQ(passo(Dia()), kIntegracaoCompleta);
    const Linhas antes = Escrito(e);
    const int passos = PassosDe([&] { EXPECT_EQ(passo(Dia()), kIntegracaoCompleta); });
    std::set<std::string> remocoes;  // the financial pass's lines on undoing the last one
    for (int n = 1; n <= passos; ++n) {
      e.LimpaLog();
      EXPECT_NE(ComFalhaNoPasso(n, com::E_FAIL, [&] { return passo(Dia()); }), kIntegracaoCompleta) << "passo " << n;
      ASSERT_EQ(Escrito(e), antes) << "passo " << n;
      for (const auto& l : e.LinhasLog()) {
        falhas.insert(l);
        if (l.rfind("CQMXIntegracao::RemoveIntegracaoFN", 0) == 0) remocoes.insert(l.substr(36));
      }
    }
    if (passo != &QMX_ProcIntegraFN) continue;
    // The key read back names the titles the last pass made; each failure
    // says which, in its order of fields.
    const Linhas chave = e.Linhas("SELECT sev || '|' || fac || '|' || cod FROM chave_integracao WHERE modulo = 'FN'");
    ASSERT_EQ(chave.size(), 1u);
    const std::string cod = chave[0].substr(chave[0].rfind('|') + 1);
    EXPECT_EQ(chave[0], "1|3|" + cod);
    EXPECT_EQ(remocoes, (std::set<std::string>{
                            "Falha ao ler chaves de integração. Data=65329, ECF=1, SEV=0, FAC=3, COD=0",
                            "Falha ao excluir integrações anterirores. SEV=1, FAC=3, COD=" + cod,
                            "Falha ao gravar chave de integração. Posição=1, SEV=1, FAC=3, COD=" + cod}));
  }
  // Each read of the fiscal and financial passes that can fail says which.
  for (const char* texto : {"Erro ao Ler Produtos", "Erro ao buscar impostos por filial do produto 10.",
                            "Erro ao Ler Serviços", "Erro ao ler PIS/COFINS de serviço.",
                            "Erro ao Ler as Condições de Pagamento", "Erro ao Setar Contabilização a Pagar e a Receber",
                            "Erro ao Setar Contabilização a Pagar e Receber",
                            "Erro ao Setar as Contas a Receber e a Pagar no Servidor de Integrações"})
    EXPECT_EQ(falhas.count(texto), 1u) << texto;
}

TEST(IntegracaoConfiabilidade, ProcessoMortoARodarERodadoDeNovoIntegraCadaItemUmaVez) {
  EmpresaIntegracao e;
  DiaDeVendas(e);
  // How long a whole pass takes here, to kill within it: the shortest of
  // three runs, so that runs slowed by a busy machine (other tests at the
  // same time) do not put most kills after the pass's end.
  std::vector<long> duracoes;
  for (int vez = 0; vez < 3; ++vez) {
    if (vez) DesfazEstoque(e);
    const auto inicio = std::chrono::steady_clock::now();
    ASSERT_EQ(Espera(PassaEmFilho(&QMX_ProcIntegraES)), 0);
    duracoes.push_back(static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - inicio).count()));
  }
  std::sort(duracoes.begin(), duracoes.end());
  const std::chrono::microseconds duracao{duracoes[0]};
  ASSERT_EQ(QMX_ProcIntegraFN(Dia()), kIntegracaoCompleta);
  const Linhas financeiro = Escrito(e);

  std::mt19937 sorteio(20261206);
  // The kill's moment is drawn within the pass's length; a pass that ended
  // before its kill (a busy machine wakes the killer late) makes the next
  // moments come from a shorter span.
  long janela = duracao.count();
  int mortosNoMeio = 0;
  for (int vez = 0; vez < 50; ++vez) {
    DesfazEstoque(e);
    const bool estoque = vez % 5 != 4;  // one run in five kills the financial pass
    const pid_t filho = PassaEmFilho(estoque ? &QMX_ProcIntegraES : &QMX_ProcIntegraFN);
    usleep(static_cast<useconds_t>(std::uniform_int_distribution<long>(0, janela)(sorteio)));
    kill(filho, SIGKILL);
    const int estado = Espera(filho);
    if (WIFSIGNALED(estado)) ++mortosNoMeio;
    else janela = std::max(janela * 3 / 4, 200L);
    ASSERT_EQ(Desacordos(e), 0) << "vez " << vez;
    if (!estoque) {
      ASSERT_EQ(Escrito(e), financeiro) << "vez " << vez;
    }
    ASSERT_EQ(Espera(PassaEmFilho(estoque ? &QMX_ProcIntegraES : &QMX_ProcIntegraFN)), 0);
    ASSERT_EQ(Desacordos(e), 0) << "vez " << vez;
    if (estoque) {
      ASSERT_EQ(Marcados(e), 60) << "vez " << vez;
    }
    ASSERT_EQ(Escrito(e), financeiro) << "vez " << vez;
  }
  // Most kills came before the pass ended.
  EXPECT_GT(mortosNoMeio, 25) << "passes of " << duracoes[0] << ", " << duracoes[1] << " and " << duracoes[2] << " µs";
}

class DoisTerminais : public NosDoisMotores {};

TEST_P(DoisTerminais, OMesmoDiaAoMesmoTempoNaoDobraNada) {
  EmpresaIntegracao e(GetParam());
  DiaDeVendas(e);
  ASSERT_EQ(QMX_ProcIntegraFN(Dia()), kIntegracaoCompleta);
  const Linhas financeiro = Escrito(e);
  for (int vez = 0; vez < 3; ++vez) {
    DesfazEstoque(e);
    // The four children all start before any is waited for.
    for (pid_t filho : {PassaEmFilho(&QMX_ProcIntegraES), PassaEmFilho(&QMX_ProcIntegraES),
                        PassaEmFilho(&QMX_ProcIntegraFN), PassaEmFilho(&QMX_ProcIntegraFN)})
      EXPECT_EQ(Espera(filho), 0);
    EXPECT_EQ(Desacordos(e), 0);
    EXPECT_EQ(Marcados(e), 60);
    EXPECT_EQ(e.Conta("movimento_estoque"), 60);
    EXPECT_EQ(Escrito(e), financeiro);
  }
}

// Terminals integrating different cupons at once, each taking the same
// product (the place holds 3 and may not go negative) and another one, in
// either order: the last units are taken once, and no two terminals wait
// on each other for good.
TEST_P(DoisTerminais, AsUltimasUnidadesSaoTomadasUmaVez) {
  EmpresaIntegracao e(GetParam());
  e.empresa.Gravador().Sessao().Executa("UPDATE estoque_posicao SET quantidade = 30000 WHERE produto = 13", {});
  std::vector<REG_EC_CXPS*> cupons;
  for (int i = 0; i < 8; ++i) {
    auto& c = e.movimento.Cupom(1, EmpresaIntegracao::kDia);
    if (i % 2) c.Item(13, 1, 4).Item(10, 1, 2.5);
    else c.Item(10, 1, 2.5).Item(13, 1, 4);
    cupons.push_back(&c.registro);
  }
  e.movimento.Grava();
  for (int vez = 0; vez < 3; ++vez) {
    DesfazEstoque(e);
    std::vector<pid_t> filhos;
    for (REG_EC_CXPS* c : cupons) {
      const pid_t filho = fork();
      if (filho == 0) _exit(QMX_IntegraCupomES(c, 1, 0, 0) >= 0 ? 0 : 1);
      filhos.push_back(filho);
    }
    for (pid_t filho : filhos) EXPECT_EQ(Espera(filho), 0);
    EXPECT_EQ(Desacordos(e), 0);
    EXPECT_EQ(e.Linhas("SELECT produto, COUNT(*), SUM(quantidade) FROM movimento_estoque GROUP BY produto "
                       "ORDER BY produto"),
              (Linhas{"10|8|-80000", "13|3|-30000"})) << "vez " << vez;
  }
}

QMX_NOS_DOIS_MOTORES(DoisTerminais);

}  // namespace
