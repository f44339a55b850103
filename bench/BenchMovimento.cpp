// The big store of the demonstration (branch 1 with 20 ECFs selling 1 000
// cupons of 8 items a day through November 2026, about 5 million items),
// which every file generator's benchmark reads:
// - BM_CargaLojaGrande writes it into SQLite and into PostgreSQL and gives
//   the rows written per second (cupons, items and payments);
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

#include "cli/EmpresaDemo.h"
#include "frame/DataCodificada.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/LeituraRegistros.h"
#include "plataforma/dados/PoolSessoes.h"

namespace {

namespace fs = std::filesystem;
using namespace qmx;
using namespace qmx::dados;
using Relogio = std::chrono::steady_clock;

constexpr int kEmissoras = 20;
const char* Chave(int motor) { return motor == 0 ? "LOJASQLITE" : "LOJAPOSTGRES"; }

double Segundos(Relogio::time_point desde) { return std::chrono::duration<double>(Relogio::now() - desde).count(); }

// Resident memory of the process (kB): now and at its peak. The peak can be
// brought back to the present, so that each read shows its own.
long MemoriaKB(const char* campo) {
  std::ifstream status("/proc/self/status");
  for (std::string linha; std::getline(status, linha);)
    if (linha.rfind(campo, 0) == 0) return std::atol(linha.c_str() + std::strlen(campo));
  return -1;
}
void ZeraPico() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The registry file of the big stores, current while a case runs (other
// benchmarks of the run keep their own).
class RegistroDaLoja {
 public:
  explicit RegistroDaLoja(const fs::path& arquivo) {
    if (const char* anterior = std::getenv("QMX_REGISTRO")) m_anterior = anterior;
    setenv("QMX_REGISTRO", arquivo.c_str(), 1);
  }
  ~RegistroDaLoja() {
    if (m_anterior)
      setenv("QMX_REGISTRO", m_anterior->c_str(), 1);
    else
      unsetenv("QMX_REGISTRO");
  }

 private:
  std::optional<std::string> m_anterior;
};

struct Loja {
  std::string endereco;
  long long linhas = 0;  // cupons, items and payments
  long long itens = 0;
  double segundos = 0;
};

class Lojas {
 public:
  static Lojas& Instancia() {
    static Lojas lojas;
    return lojas;
  }
  ~Lojas() {
    if (!m_esquema.empty())
      AbreSessao(std::getenv("QMX_TESTE_POSTGRES"))->ExecutaScript("DROP SCHEMA " + m_esquema + " CASCADE");
    fs::remove_all(m_pasta);
  }

  static bool TemPostgres() { return std::getenv("QMX_TESTE_POSTGRES") != nullptr; }
  const fs::path& Registro() const { return m_registro; }

  // The store on the engine, written now when the run has none yet.
  const Loja& Pega(int motor) {
    if (!m_lojas[motor]) m_lojas[motor] = Escreve(motor);
    return *m_lojas[motor];
  }

  // A new store on the engine, replacing the one kept.
  const Loja& Reescreve(int motor) {
    if (m_lojas[motor]) {
      CPoolSessoes::Instancia().Descarta(m_lojas[motor]->endereco);
      m_lojas[motor].reset();
    }
    return Pega(motor);
  }

 private:
  Lojas() {
    std::string modelo = (fs::temp_directory_path() / "qmx-bench-loja-XXXXXX").string();
    if (!mkdtemp(modelo.data())) std::abort();
    m_pasta = modelo;
    m_registro = m_pasta / "registro.ini";
    std::ofstream criado(m_registro);
  }

  Loja Escreve(int motor) {
    Loja loja;
    if (motor == 0) {
      loja.endereco = "sqlite:" + (m_pasta / "loja.db").string();
    } else {
      const std::string servidor = std::getenv("QMX_TESTE_POSTGRES");
      if (m_esquema.empty()) m_esquema = "qmx_bench_loja_" + std::to_string(getpid());
      AbreSessao(servidor)->ExecutaScript("DROP SCHEMA IF EXISTS " + m_esquema + " CASCADE; CREATE SCHEMA " +
                                          m_esquema);
      loja.endereco = servidor + " options='-c search_path=" + m_esquema + "'";
    }
    cli::OpcoesDemo opcoes;
    opcoes.lojaGrande = true;
    opcoes.progresso = true;
    std::fprintf(stderr, "loja grande em %s\n", motor == 0 ? "SQLite" : "PostgreSQL");
    const auto inicio = Relogio::now();
    const auto resumo = cli::CriaEmpresaDemo(loja.endereco, opcoes);
    loja.segundos = Segundos(inicio);
    loja.itens = resumo.movimento.itens;
    loja.linhas = resumo.movimento.cupons + resumo.movimento.itens + resumo.movimento.pagamentos;
    std::ofstream registro(m_registro, std::ios::app);
    registro << "[SOFTWARE\\ZT Redudeva\\Empresas\\" << Chave(motor) << "]\nBaseDados=" << loja.endereco << "\n";
    return loja;
  }

  fs::path m_pasta, m_registro;
  std::string m_esquema;
  std::optional<Loja> m_lojas[2];
};

bool Disponivel(benchmark::State& estado) {
  if (estado.range(0) == 1 && !Lojas::TemPostgres()) {
    estado.SkipWithError("QMX_TESTE_POSTGRES não definida");
    return false;
  }
  return true;
}

void BM_CargaLojaGrande(benchmark::State& estado) {
  if (!Disponivel(estado)) return;
  const int motor = static_cast<int>(estado.range(0));
  for (auto _ : estado) {
    const Loja& loja = Lojas::Instancia().Reescreve(motor);
    estado.SetIterationTime(loja.segundos);
    estado.counters["linhas"] = static_cast<double>(loja.linhas);
    estado.counters["linhas_por_s"] = static_cast<double>(loja.linhas) / loja.segundos;
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

constexpr const char* kItensDoDia = "SELECT " QMX_COLUNAS_ITEM_CUPOM
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
        for (int c : {0, 1, 2, 3, 5, 6, 7, 9, 11, 12, 13}) colunas += sqlite3_column_int64(comando, c);
        const auto* texto = reinterpret_cast<const char*>(sqlite3_column_text(comando, 4));
        std::strncpy(descricao, texto ? texto : "", sizeof descricao - 1);
        const auto* letra = sqlite3_column_text(comando, 10);
        soma.texto += std::strlen(descricao) + (letra ? letra[0] != 0 : 0);
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
        for (int c : {0, 1, 2, 3, 5, 6, 7, 9, 11, 12, 13}) colunas += std::strtoll(PQgetvalue(r, l, c), nullptr, 10);
        std::strncpy(descricao, PQgetvalue(r, l, 4), sizeof descricao - 1);
        soma.texto += std::strlen(descricao) + (PQgetvalue(r, l, 10)[0] != 0);
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
