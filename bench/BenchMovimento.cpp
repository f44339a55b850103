// The big store of the demonstration (branch 1 with 20 ECFs selling 1 000
// cupons of 8 items a day through November 2026, about 5 million items),
// which every file generator's benchmark reads:
// - BM_CargaLojaGrande gives the rows written per second (cupons, items
//   and payments) when it was written into SQLite and into PostgreSQL;
// - BM_LeituraLojaGrande reads a week or the whole month of its items, ECF
//   by ECF and day by day, through the cash server's walk
//   (CConexaoECSCX::PercorreCupons: cupons, items and payments) and through
//   a bare prepared statement of the engine's own library with the same
//   item query, and gives the ratio of the two times and the peak resident
//   memory of each read.
// The store is written once per run, in a temporary folder (and a schema of
// its own on the server), and kept for the run's other cases. PostgreSQL
// runs when QMX_TESTE_POSTGRES names a server.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "bench/LojaGrande.h"
#include "cli/EmpresaDemo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/PoolSessoes.h"

namespace {

using namespace qmx;
using namespace qmx::bench;

void BM_CargaLojaGrande(benchmark::State& estado) {
  if (!Disponivel(estado)) return;
  const int motor = static_cast<int>(estado.range(0));
  for (auto _ : estado) {
    // Written once per run, by whichever case needs it first.
    const Loja& loja = Lojas::Instancia().Pega(motor);
    estado.SetIterationTime(loja.segundos);
    estado.counters["linhas"] = static_cast<double>(loja.linhas);
    estado.counters["linhas_por_s"] = static_cast<double>(loja.linhas) / loja.segundos;
    estado.counters["s_vacuo"] = loja.segundosVacuo;
  }
}
BENCHMARK(BM_CargaLojaGrande)
    ->ArgName("motor")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// What each read adds up, so that both reads are seen to read the same
// items (the texts are counted apart: the walk hands them over in
// Windows-1252, the engines in UTF-8).
struct Soma {
  long long itens = 0;
  std::int64_t valores = 0;
  std::size_t texto = 0;
};

// Every column of the item table, in the table's own order (not the
// library's list): the positions below are this program's.
constexpr const char* kItensDoDia = "SELECT i.cupom, i.item, i.servico, i.codigo, i.descricao, i.quantidade, "
                                    "i.valor_unitario, i.desconto, i.valor_total, i.aliquota, i.tributacao, "
                                    "i.cancelado, i.excluido, i.integrado_estoque, i.cst, i.unidade, i.ncm"
                                    " FROM cupom c JOIN cupom_item i ON i.cupom = c.id"
                                    " WHERE c.emissora = ? AND c.data = ? ORDER BY c.sequencia, i.item";

// The items, ECF by ECF and day by day, with SQLite's own interface: every
// column read as the walk reads it.
Soma LeSQLite(const std::string& arquivo, int dias) {
  sqlite3* base = nullptr;
  if (sqlite3_open_v2(arquivo.c_str(), &base, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) std::abort();
  sqlite3_stmt* comando = nullptr;
  if (sqlite3_prepare_v2(base, kItensDoDia, -1, &comando, nullptr) != SQLITE_OK) std::abort();
  Soma soma;
  char descricao[101] = {};
  for (int e = 1; e <= kEmissoras; ++e)
    for (int dia = 1; dia <= dias; ++dia) {
      sqlite3_bind_int(comando, 1, e);
      sqlite3_bind_int(comando, 2, CodificaDia(static_cast<std::uint16_t>(dia), 11, 2026));
      while (sqlite3_step(comando) == SQLITE_ROW) {
        std::int64_t colunas = 0;
        for (int c : {0, 1, 2, 3, 5, 6, 7, 9, 11, 12, 13, 15}) colunas += sqlite3_column_int64(comando, c);
        const auto* texto = reinterpret_cast<const char*>(sqlite3_column_text(comando, 4));
        std::strncpy(descricao, texto ? texto : "", sizeof descricao - 1);
        const auto* letra = sqlite3_column_text(comando, 10);
        soma.texto += std::strlen(descricao) + (letra ? letra[0] != 0 : 0);
        // The tax situation and the NCM, texts the walk copies too.
        for (int c : {14, 16}) soma.texto += sqlite3_column_text(comando, c) ? static_cast<std::size_t>(sqlite3_column_bytes(comando, c)) : 0;
        soma.valores += sqlite3_column_int64(comando, 8);
        benchmark::DoNotOptimize(colunas);
        ++soma.itens;
      }
      sqlite3_reset(comando);
    }
  sqlite3_finalize(comando);
  sqlite3_close(base);
  return soma;
}

// The same with libpq: one prepared statement executed per ECF and day.
Soma LePostgres(const std::string& conexao, int dias) {
  PGconn* pg = PQconnectdb(conexao.c_str());
  if (PQstatus(pg) != CONNECTION_OK) std::abort();
  std::string sql = kItensDoDia;
  for (int n = 1; sql.find('?') != std::string::npos; ++n) sql.replace(sql.find('?'), 1, "$" + std::to_string(n));
  PQclear(PQprepare(pg, "itens", sql.c_str(), 0, nullptr));
  Soma soma;
  char descricao[101] = {};
  for (int e = 1; e <= kEmissoras; ++e)
    for (int dia = 1; dia <= dias; ++dia) {
      const std::string emissora = std::to_string(e),
                        data = std::to_string(CodificaDia(static_cast<std::uint16_t>(dia), 11, 2026));
      const char* valores[] = {emissora.c_str(), data.c_str()};
      PGresult* r = PQexecPrepared(pg, "itens", 2, valores, nullptr, nullptr, 0);
      if (PQresultStatus(r) != PGRES_TUPLES_OK) std::abort();
      for (int l = 0, linhas = PQntuples(r); l < linhas; ++l) {
        std::int64_t colunas = 0;
        for (int c : {0, 1, 2, 3, 5, 6, 7, 9, 11, 12, 13, 15}) colunas += std::strtoll(PQgetvalue(r, l, c), nullptr, 10);
        std::strncpy(descricao, PQgetvalue(r, l, 4), sizeof descricao - 1);
        soma.texto += std::strlen(descricao) + (PQgetvalue(r, l, 10)[0] != 0);
        for (int c : {14, 16}) soma.texto += std::strlen(PQgetvalue(r, l, c));
        soma.valores += std::strtoll(PQgetvalue(r, l, 8), nullptr, 10);
        benchmark::DoNotOptimize(colunas);
        ++soma.itens;
      }
      PQclear(r);
    }
  PQfinish(pg);
  return soma;
}

// The walk of the cash server, ECF by ECF over the days.
Soma LeBiblioteca(int motor, int dias) {
  CConexaoECSCX caixa;
  if (com::FAILED(caixa.Inicializa(Chave(motor), 1, 0))) std::abort();
  Soma soma;
  for (int e = 1; e <= kEmissoras; ++e) {
    const auto resultado = caixa.PercorreCupons(
        static_cast<std::uint16_t>(e), CodificaDia(1, 11, 2026),
        CodificaDia(static_cast<std::uint16_t>(dias), 11, 2026),
        [&](const REG_EC_CXPS&, const std::vector<REG_EC_CX_CIPS>& itens, const std::vector<REG_EC_CX_PAGAMENTOPS>&) {
          for (const auto& i : itens) {
            soma.texto += std::strlen(i.Descricao) + (i.TipoTributacao != 0);
            soma.valores += i.ValorTotal.int64;
          }
          soma.itens += static_cast<long long>(itens.size());
          return true;
        });
    if (com::FAILED(resultado)) std::abort();
  }
  return soma;
}

void BM_LeituraLojaGrande(benchmark::State& estado) {
  if (!Disponivel(estado)) return;
  const int motor = static_cast<int>(estado.range(0));
  const int dias = static_cast<int>(estado.range(1));
  const Loja& loja = Lojas::Instancia().Pega(motor);
  RegistroDaLoja registro(Lojas::Instancia().Registro());
  for (auto _ : estado) {
    ZeraPico();
    const long residenteAntes = MemoriaKB("VmRSS:");
    auto inicio = Relogio::now();
    const Soma direta = motor == 0 ? LeSQLite(ArquivoSQLite(loja.endereco), dias) : LePostgres(loja.endereco, dias);
    const double segundosDireta = Segundos(inicio);
    const long picoDireta = MemoriaKB("VmHWM:");
    ZeraPico();
    inicio = Relogio::now();
    const Soma biblioteca = LeBiblioteca(motor, dias);
    const double segundosBiblioteca = Segundos(inicio);
    const long picoBiblioteca = MemoriaKB("VmHWM:");
    benchmark::DoNotOptimize(direta.texto + biblioteca.texto);
    if (direta.itens != biblioteca.itens || direta.valores != biblioteca.valores) {
      estado.SkipWithError("as duas leituras não leram os mesmos itens");
      return;
    }
    estado.SetIterationTime(segundosBiblioteca);
    estado.counters["itens"] = static_cast<double>(biblioteca.itens);
    estado.counters["s_direta"] = segundosDireta;
    estado.counters["s_biblioteca"] = segundosBiblioteca;
    estado.counters["razao"] = segundosBiblioteca / segundosDireta;
    estado.counters["rss_antes_MB"] = residenteAntes / 1024.0;
    estado.counters["pico_direta_MB"] = picoDireta / 1024.0;
    estado.counters["pico_biblioteca_MB"] = picoBiblioteca / 1024.0;
  }
}
BENCHMARK(BM_LeituraLojaGrande)
    ->ArgNames({"motor", "dias"})
    ->Args({0, 7})
    ->Args({0, 28})
    ->Args({1, 7})
    ->Args({1, 28})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
