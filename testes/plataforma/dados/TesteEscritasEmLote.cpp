// Writes sent ahead of their answers and counters reserved by blocks: the
// same rows and numbers as one statement at a time, and a failure anywhere
// keeps nothing of its transaction.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "apoio/Motores.h"
#include "plataforma/dados/ConexaoMovimento.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/InsercaoDados.h"

using namespace qmx;
using namespace qmx::dados;
using namespace qmx::testes;

namespace {

class EscritasEmLote : public TesteMotores {
 protected:
  std::int64_t Conta(CSessaoDados& s) { return s.Consulta("SELECT COUNT(*) FROM chave_integracao", {})[0].Inteiro(0); }
  std::int64_t Contador(CSessaoDados& s) {
    return s.Consulta("SELECT valor FROM qmx_sequencia WHERE nome = 'movimento_estoque'", {})[0].Inteiro(0);
  }
  // A row of chave_integracao whose key is the number given.
  void Chave(CSessaoDados& s, std::int64_t id) {
    s.Enfileira("INSERT INTO chave_integracao (id, modulo, data, emissora, sev, fac, cod) VALUES (?, 'ES', 1, 1, 0, 0, 0)",
                {id});
  }
};

TEST_P(EscritasEmLote, NumerosDosContadoresComoUmAUm) {
  auto s = AbreSessao(empresa->Endereco());
  auto outra = AbreSessao(empresa->Endereco());
  const std::int64_t antes = Contador(*s);
  s->Inicia();
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(s->ProximoNumero("movimento_estoque"), antes + i);
  // Numbers taken past a block's end inside a savepoint return with it.
  s->MarcaPonto();
  for (int i = 4; i <= 200; ++i) ASSERT_EQ(s->ProximoNumero("movimento_estoque"), antes + i);
  s->VoltaAoPonto();
  EXPECT_EQ(s->ProximoNumero("movimento_estoque"), antes + 4);
  s->MarcaPonto();
  EXPECT_EQ(s->ProximoNumero("movimento_estoque"), antes + 5);
  s->LiberaPonto();
  s->Confirma();
  // The unused rest of the block was given back.
  EXPECT_EQ(Contador(*outra), antes + 5);
  EXPECT_EQ(outra->ProximoNumero("movimento_estoque"), antes + 6);
  // Undone, a transaction's numbers are taken again by the next.
  s->Inicia();
  EXPECT_EQ(s->ProximoNumero("movimento_estoque"), antes + 7);
  s->Desfaz();
  EXPECT_EQ(outra->ProximoNumero("movimento_estoque"), antes + 7);
  EXPECT_THROW(outra->ProximoNumero("nao_existe"), CErroDados);
  // Savepoints nest (a cupom's, an item's inside it): the inner one undone
  // takes its row and its number back, the outer one keeps its own.
  s->Inicia();
  s->MarcaPonto();
  EXPECT_EQ(s->ProximoNumero("movimento_estoque"), antes + 8);
  Chave(*s, 900001);
  s->MarcaPonto();
  EXPECT_EQ(s->ProximoNumero("movimento_estoque"), antes + 9);
  Chave(*s, 900002);
  s->VoltaAoPonto();
  EXPECT_EQ(s->ProximoNumero("movimento_estoque"), antes + 9);
  s->LiberaPonto();
  EXPECT_THROW(s->LiberaPonto(), CErroDados);
  s->Confirma();
  EXPECT_EQ(outra->ProximoNumero("movimento_estoque"), antes + 10);
  EXPECT_EQ(outra->Consulta("SELECT COUNT(*), MIN(id) FROM chave_integracao WHERE id >= 900000", {})[0].Inteiro(1),
            900001);
  EXPECT_EQ(outra->Consulta("SELECT COUNT(*) FROM chave_integracao WHERE id >= 900000", {})[0].Inteiro(0), 1);
  // Blocks grow: a thousand numbers in one transaction, each the next one,
  // and the rest given back.
  s->Inicia();
  for (int i = 11; i <= 1010; ++i) ASSERT_EQ(s->ProximoNumero("movimento_estoque"), antes + i);
  s->Confirma();
  EXPECT_EQ(outra->ProximoNumero("movimento_estoque"), antes + 1011);
}

TEST_P(EscritasEmLote, FalhaDeUmaEscritaEnviadaNadaGuardaDaTransacao) {
  auto s = AbreSessao(empresa->Endereco());
  // More writes than travel together, and rows inserted by pieces of one
  // statement each, all kept.
  s->Inicia();
  for (int id = 1; id <= 1300; ++id) Chave(*s, id);
  std::vector<ParametroDados> linhas;
  for (int id = 1301; id <= 2500; ++id) linhas.insert(linhas.end(), {id, "ES", 1, 1, 0, 0, 0});
  InsereLinhas(*s, "chave_integracao", {"id", "modulo", "data", "emissora", "sev", "fac", "cod"}, linhas);
  s->Confirma();
  EXPECT_EQ(Conta(*s), 2500);
  EXPECT_EQ(s->Consulta("SELECT SUM(id) FROM chave_integracao", {})[0].Inteiro(0), 2500 * 2501 / 2);
  // A repeated key among many: told by the next statement that answers at
  // the latest, the transaction then undone.
  s->Inicia();
  EXPECT_THROW(
      {
        for (int id = 3000; id <= 4500; ++id) Chave(*s, id == 4200 ? 7 : id);
        s->Consulta("SELECT 1", {});
      },
      CErroDados);
  s->Desfaz();
  EXPECT_EQ(Conta(*s), 2500);
  // The last write before the commit fails: the commit fails, nothing kept.
  s->Inicia();
  EXPECT_THROW(
      {
        Chave(*s, 5000);
        Chave(*s, 9);
        s->Confirma();
      },
      CErroDados);
  EXPECT_TRUE(s->EmTransacao());
  s->Desfaz();
  EXPECT_EQ(Conta(*s), 2500);
  // The session goes on working.
  s->Inicia();
  Chave(*s, 6000);
  s->Confirma();
  EXPECT_EQ(Conta(*s), 2501);
}

// Savepoints nested and mixed at random with writes, reads (which reach
// the server with whatever was held back), releases and returns, then the
// commit or the rollback: every read and the rows kept are what a model of
// the levels says. A transaction whose savepoints are released without a
// read under them costs the server no subtransaction: the transaction ids
// taken while it runs are not one a savepoint.
TEST_P(EscritasEmLote, PontosAninhadosComoNoModelo) {
  auto s = AbreSessao(empresa->Endereco());
  auto outra = AbreSessao(empresa->Endereco());
  const auto linhas = [](CSessaoDados& sessao) {
    const auto l = sessao.Consulta("SELECT COUNT(*), COALESCE(SUM(id), 0) FROM chave_integracao", {});
    return std::make_pair(l[0].Inteiro(0), l[0].Inteiro(1));
  };
  const auto soma = [](const std::vector<std::vector<int>>& niveis, std::pair<std::int64_t, std::int64_t> base) {
    for (const auto& nivel : niveis)
      for (const int id : nivel) base.first += 1, base.second += id;
    return base;
  };
  std::pair<std::int64_t, std::int64_t> guardadas{0, 0};
  int proximo = 1;
  for (unsigned semente = 1; semente <= 30; ++semente) {
    std::mt19937 sorte(semente);
    const auto ate = [&](unsigned n) { return sorte() % n; };
    std::vector<std::vector<int>> niveis(1);  // the transaction's own, then each savepoint's
    s->Inicia();
    for (int passo = 0; passo < 40; ++passo) {
      const unsigned escolha = ate(10);
      const std::size_t abertos = niveis.size() - 1;
      if (escolha < 2 && abertos < 4) {
        s->MarcaPonto();
        niveis.emplace_back();
      } else if (escolha < 3 && abertos > 0) {
        s->LiberaPonto();
        niveis[abertos - 1].insert(niveis[abertos - 1].end(), niveis.back().begin(), niveis.back().end());
        niveis.pop_back();
      } else if (escolha < 4 && abertos > 0) {
        s->VoltaAoPonto();
        niveis.pop_back();
      } else if (escolha < 5) {
        ASSERT_EQ(linhas(*s), soma(niveis, guardadas)) << "semente " << semente << ", passo " << passo;
      } else {
        Chave(*s, proximo);
        niveis.back().push_back(proximo++);
      }
    }
    // What is still open goes with the commit; a rollback drops it all.
    if (semente % 3) {
      s->Confirma();
      guardadas = soma(niveis, guardadas);
    } else {
      s->Desfaz();
    }
    ASSERT_EQ(linhas(*outra), guardadas) << "semente " << semente;
  }
  if (std::string(s->Motor()) != "postgres") return;
  const auto ultimaTransacao = [&] {
    return outra->Consulta("SELECT txid_snapshot_xmax(txid_current_snapshot())", {})[0].Inteiro(0);
  };
  const std::int64_t antes = ultimaTransacao();
  s->Inicia();
  for (int cupom = 0; cupom < 100; ++cupom) {
    s->MarcaPonto();
    for (int item = 0; item < 3; ++item) {
      s->MarcaPonto();
      Chave(*s, proximo++);
      s->LiberaPonto();
    }
    s->LiberaPonto();
  }
  s->Confirma();
  // 400 savepoints that wrote; other tests on the same server may take a
  // few ids meanwhile.
  EXPECT_LT(ultimaTransacao() - antes, 100);
  EXPECT_EQ(linhas(*outra).first, guardadas.first + 300);
}

// Round trips, counted by the session: writes sent ahead travel with the
// read, the reads sent together or the commit that follows them, a read
// with nothing ahead of it is one more, and SQLite, inside the process, has
// none. A read that fails after good writes, alone or among others,
// reports its own failure, and nothing is kept.
TEST_P(EscritasEmLote, EscritasViajamComALeituraOuOCommitSeguinte) {
  auto s = AbreSessao(empresa->Endereco());
  const std::int64_t servidor = std::string(s->Motor()) == "postgres" ? 1 : 0;
  s->Inicia();
  Chave(*s, 1);
  EXPECT_EQ(Conta(*s), 1);  // both statements prepared
  const std::int64_t antes = s->IdasEVoltas(), antesNoProcesso = CSessaoDados::IdasEVoltasDoProcesso();
  for (int id = 2; id <= 40; ++id) Chave(*s, id);
  EXPECT_EQ(Conta(*s), 40);
  EXPECT_EQ(s->IdasEVoltas() - antes, servidor);
  EXPECT_EQ(Conta(*s), 40);
  EXPECT_EQ(s->IdasEVoltas() - antes, 2 * servidor);
  for (int id = 41; id <= 45; ++id) Chave(*s, id);
  const auto juntas = s->ConsultaJuntas({{"SELECT COUNT(*) FROM chave_integracao", {}},
                                         {"SELECT MAX(id) FROM chave_integracao WHERE id < ?", {44}},
                                         {"SELECT id FROM chave_integracao WHERE id > ? ORDER BY id", {42}}});
  ASSERT_EQ(juntas.size(), 3u);
  EXPECT_EQ(juntas[0].at(0).Inteiro(0), 45);
  EXPECT_EQ(juntas[1].at(0).Inteiro(0), 43);
  ASSERT_EQ(juntas[2].size(), 3u);
  EXPECT_EQ(juntas[2][0].Inteiro(0), 43);
  EXPECT_EQ(juntas[2][2].Inteiro(0), 45);
  EXPECT_EQ(s->IdasEVoltas() - antes, 3 * servidor);
  for (int id = 46; id <= 60; ++id) Chave(*s, id);
  s->Confirma();
  EXPECT_EQ(s->IdasEVoltas() - antes, 4 * servidor);
  EXPECT_EQ(CSessaoDados::IdasEVoltasDoProcesso() - antesNoProcesso, 4 * servidor);
  EXPECT_FALSE(s->EmTransacao());
  EXPECT_EQ(Conta(*s), 60);
  if (!servidor) return;  // SQLite divides by zero into NULL
  s->Inicia();
  for (int id = 61; id <= 70; ++id) Chave(*s, id);
  try {
    s->Consulta("SELECT 1 / (id - 30) FROM chave_integracao", {});
    ADD_FAILURE() << "a divisão por zero não falhou";
  } catch (const CErroDados& erro) {
    EXPECT_NE(std::string(erro.what()).find("SELECT 1 / (id - 30)"), std::string::npos) << erro.what();
  }
  s->Desfaz();
  EXPECT_EQ(Conta(*s), 60);
  s->Inicia();
  Chave(*s, 71);
  try {
    s->ConsultaJuntas({{"SELECT COUNT(*) FROM chave_integracao", {}},
                       {"SELECT 2 / (id - 40) FROM chave_integracao", {}},
                       {"SELECT MAX(id) FROM chave_integracao", {}}});
    ADD_FAILURE() << "a divisão por zero entre outras leituras não falhou";
  } catch (const CErroDados& erro) {
    EXPECT_NE(std::string(erro.what()).find("SELECT 2 / (id - 40)"), std::string::npos) << erro.what();
  }
  s->Desfaz();
  EXPECT_EQ(Conta(*s), 60);
}

// A read transaction's cursors come from the server in pieces, the next
// asked for ahead: two walked side by side with other reads between their
// pieces, one left halfway, each row once and in order; a piece that fails
// on the server fails the walk that reaches it.
TEST_P(EscritasEmLote, CursoresDeUmaTransacaoLidosPorPartes) {
  auto s = AbreSessao(empresa->Endereco());
  s->Inicia();
  constexpr int kTotal = 24001;
  std::vector<ParametroDados> linhas;
  for (int id = 1; id <= kTotal; ++id) linhas.insert(linhas.end(), {id, id % 2 ? "ES" : "FN", id, 1, 0, 0, 0});
  InsereLinhas(*s, "chave_integracao", {"id", "modulo", "data", "emissora", "sev", "fac", "cod"}, linhas);
  s->Confirma();
  s->IniciaLeitura();
  const char* sql = "SELECT id, data FROM chave_integracao WHERE modulo = ? ORDER BY id";
  auto impares = s->Abre(sql, {"ES"}), pares = s->Abre(sql, {"FN"});
  {
    auto largado = s->Abre(sql, {"ES"});
    for (int i = 0; i < 7000 && largado->Proxima(); ++i) {
    }
  }
  std::int64_t esperado = 0;
  for (bool haImpar = impares->Proxima(), haPar = pares->Proxima(); haImpar || haPar;) {
    auto& cursor = haImpar && (!haPar || impares->Inteiro(0) < pares->Inteiro(0)) ? impares : pares;
    ASSERT_EQ(cursor->Inteiro(0), ++esperado);
    ASSERT_EQ(cursor->Inteiro(1), esperado);
    if (esperado % 4999 == 0) {
      ASSERT_EQ(s->Consulta("SELECT COUNT(*) FROM chave_integracao WHERE id <= ?", {esperado})[0].Inteiro(0),
                esperado);
    }
    (cursor == impares ? haImpar : haPar) = cursor->Proxima();
  }
  EXPECT_EQ(esperado, kTotal);
  s->Confirma();
  if (std::string(s->Motor()) != "postgres") return;  // SQLite divides by zero into NULL
  s->IniciaLeitura();
  auto falha = s->Abre("SELECT id, 1 / (id - 9000) FROM chave_integracao ORDER BY id", {});
  std::int64_t lidas = 0;
  EXPECT_THROW(
      {
        while (falha->Proxima()) ++lidas;
      },
      CErroDados);
  EXPECT_EQ(lidas, 5000);
  s->Desfaz();
  EXPECT_EQ(Conta(*s), kTotal);
}

// A transaction's cursor reads what a plain read reads, column by column
// (on PostgreSQL its rows come in binary, the read's as text): integers of
// every width at their ends, numerics with and without decimals, of both
// signs, under one and over ten thousand, aggregates, floats, texts with
// accents and blanks, NULLs. A true reads 1, as SQLite has it.
TEST_P(EscritasEmLote, CursorLeOQueALeituraLe) {
  auto s = AbreSessao(empresa->Endereco());
  s->Inicia();
  std::vector<ParametroDados> linhas;
  for (int id = 1; id <= 40; ++id)
    linhas.insert(linhas.end(), {id, id % 3 ? "ES" : "CN\xC3\x83O ", id * 7919 % 1000, 1, 0, 0, 0});
  InsereLinhas(*s, "chave_integracao", {"id", "modulo", "data", "emissora", "sev", "fac", "cod"}, linhas);
  s->Confirma();
  const bool servidor = std::string(s->Motor()) == "postgres";
  std::vector<std::pair<std::string, std::vector<ParametroDados>>> leituras = {
      {"SELECT CAST(? AS SMALLINT), CAST(? AS SMALLINT), CAST(? AS INTEGER), CAST(? AS INTEGER), CAST(? AS BIGINT), "
       "CAST(? AS BIGINT), NULL, ?, ?",
       {-32768, 32767, std::int64_t{-2147483647} - 1, 2147483647, std::int64_t{-9223372036854775807} - 1,
        std::int64_t{9223372036854775807}, "", "a\xC3\xA7\xC3\xBA" "car "}},
      {"SELECT modulo, COUNT(*), SUM(CAST(data AS BIGINT) * 1000000), SUM(data) * -1, AVG(data), SUM(data) / 7.0, "
       "MIN(id), MAX(data) FROM chave_integracao GROUP BY modulo ORDER BY modulo",
       {}},
      {"SELECT id, modulo, data, id * 100000000000, CAST(data AS DOUBLE PRECISION) / 8, NULL FROM chave_integracao "
       "ORDER BY id",
       {}},
  };
  for (const char* numero : {"0", "-0.5", "0.00001", "0.0001", "10000", "100000000", "-99999999.99990000",
                             "1234567890123.0001", "123456789012345", "1234567890123456", "9999.9999", "-10000.1"})
    leituras.push_back({"SELECT CAST(? AS NUMERIC), CAST(? AS DOUBLE PRECISION)", {numero, numero}});
  s->IniciaLeitura();
  for (const auto& [sql, parametros] : leituras) {
    const auto lidas = s->Consulta(sql, parametros);
    auto cursor = s->Abre(sql, parametros);
    for (const auto& linha : lidas) {
      ASSERT_TRUE(cursor->Proxima()) << sql;
      for (std::size_t c = 0; c < linha.Colunas(); ++c) {
        const int i = static_cast<int>(c);
        EXPECT_EQ(cursor->Nulo(i), linha.Nulo(c)) << sql << " coluna " << c;
        EXPECT_EQ(std::string(cursor->Texto(i)), linha.Texto(c)) << sql << " coluna " << c;
        // A float written with an exponent reads, as text, as its mantissa.
        if (linha.Texto(c).find('e') == std::string::npos) {
          EXPECT_EQ(cursor->Inteiro(i), linha.Inteiro(c)) << sql << " coluna " << c << ": " << linha.Texto(c);
        }
      }
    }
    EXPECT_FALSE(cursor->Proxima()) << sql;
  }
  const char* verdade = "SELECT id > 20, id = 0 FROM chave_integracao WHERE id IN (3, 30) ORDER BY id";
  auto cursor = s->Abre(verdade, {});
  std::vector<std::string> lidos;
  while (cursor->Proxima())
    lidos.push_back(std::to_string(cursor->Inteiro(0)) + std::to_string(cursor->Inteiro(1)) +
                    std::string(cursor->Texto(0)) + std::string(cursor->Texto(1)));
  EXPECT_EQ(lidos, (std::vector<std::string>{servidor ? "00ff" : "0000", servidor ? "10tf" : "1010"}));
  s->Confirma();
}

// The running costs and balances of many places' products are read in a
// few statements (pieces past the largest one included): each as if read
// alone, the balance being the latest position on or before the day plus
// the place's movements after it up to the day.
TEST_P(EscritasEmLote, CustosESaldosDeMuitosLocaisNumaLeitura) {
  auto s = AbreSessao(empresa->Endereco());
  std::mt19937 sorte(33);
  const auto ate = [&](int n) { return static_cast<int>(sorte() % static_cast<unsigned>(n)); };
  constexpr NumeroDia kDia = 500;
  std::vector<LocalProduto> chaves;
  std::map<LocalProduto, std::int64_t> esperados;
  std::map<LocalProduto, std::pair<std::int64_t, std::int64_t>> custos;
  std::vector<ParametroDados> posicoes, movimentos, saldos;
  int id = 0;
  for (std::uint32_t produto = 1; produto <= 150; ++produto) {
    // The branch's positions of the product: none, or some before, on and
    // after the day; the latest before it counts (a position is what a day
    // ended with, the day's own movements included).
    NumeroDia dataPosicao = -1;
    std::int64_t posicao = 0;
    for (NumeroDia data = kDia - 3; data <= kDia + 2; ++data) {
      if (ate(3)) continue;
      const std::int64_t quantidade = ate(100000) - 20000;
      posicoes.insert(posicoes.end(), {1, produto, data, quantidade});
      if (data < kDia) dataPosicao = data, posicao = quantidade;
    }
    for (std::uint16_t local : {std::uint16_t{1}, std::uint16_t{2}}) {
      const LocalProduto chave{local, produto};
      chaves.push_back(chave);
      std::int64_t saldo = posicao;
      for (int m = ate(5); m > 0; --m) {
        const NumeroDia data = kDia - 4 + ate(8);
        const std::int64_t quantidade = ate(20000) - 10000;
        movimentos.insert(movimentos.end(), {++id, 1, local, produto, data, quantidade, 0});
        if (data > dataPosicao && data <= kDia) saldo += quantidade;
      }
      esperados[chave] = saldo;
      if (ate(3)) {
        custos[chave] = {ate(50000), ate(900000)};
        saldos.insert(saldos.end(), {1, local, produto, custos[chave].first, custos[chave].second});
      }
    }
  }
  s->Inicia();
  InsereLinhas(*s, "estoque_posicao", {"filial", "produto", "data", "quantidade"}, posicoes);
  InsereLinhas(*s, "movimento_estoque", {"id", "filial", "local_estoque", "produto", "data", "quantidade", "valor"},
               movimentos);
  InsereLinhas(*s, "saldo_local", {"filial", "local_estoque", "produto", "quantidade", "valor"}, saldos);
  s->Confirma();

  CConexaoMovimento conexao;
  ASSERT_EQ(conexao.Inicializa(empresa->Chave(), 1, 0), com::S_OK);
  std::vector<CY> lidos;
  ASSERT_EQ(conexao.LeSaldosLocais(1, chaves, kDia, &lidos), com::S_OK);
  ASSERT_EQ(lidos.size(), chaves.size());
  for (std::size_t i = 0; i < chaves.size(); ++i) EXPECT_EQ(lidos[i].int64, esperados[chaves[i]]) << i;
  std::sort(chaves.begin(), chaves.end());
  std::vector<CustoDoLocal> travados;
  ASSERT_EQ(conexao.TravaCustosLocais(1, chaves, &travados), com::S_OK);
  ASSERT_EQ(travados.size(), custos.size());
  auto custo = custos.begin();
  for (const auto& t : travados) {
    EXPECT_EQ(t.chave, custo->first);
    EXPECT_EQ(std::make_pair(t.quantidade.int64, t.valor.int64), custo->second);
    ++custo;
  }
}

QMX_NOS_DOIS_MOTORES(EscritasEmLote);

}  // namespace
