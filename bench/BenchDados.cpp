// Reading a branch and an ECF through the connection classes, as every
// dialog and file generator does, on each engine: a connection object
// made, initialised, read and finished per read. PostgreSQL runs when
// QMX_TESTE_POSTGRES names a server.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/GravadorEmpresa.h"

namespace {

namespace fs = std::filesystem;
using namespace qmx;
using namespace qmx::dados;

// A company of 40 branches and 120 ECFs under the key "BENCH<engine>".
class EmpresaBench {
 public:
  EmpresaBench() {
    char modelo[] = "qmx-bench-XXXXXX";
    const std::string base = (fs::temp_directory_path() / modelo).string();
    std::string caminho = base;
    if (!mkdtemp(caminho.data())) std::abort();
    m_pasta = caminho;
    std::string registro = "[SOFTWARE\\ZT Redudeva\\Empresas\\BENCHSQLITE]\nBaseDados=sqlite:" +
                           (m_pasta / "empresa.db").string() + "\n";
    Preenche("sqlite:" + (m_pasta / "empresa.db").string());
    if (const char* pg = std::getenv("QMX_TESTE_POSTGRES")) {
      m_esquema = "qmx_bench_" + std::to_string(getpid());
      AbreSessao(pg)->ExecutaScript("CREATE SCHEMA " + m_esquema);
      const std::string endereco = std::string(pg) + " options='-c search_path=" + m_esquema + "'";
      Preenche(endereco);
      registro += "[SOFTWARE\\ZT Redudeva\\Empresas\\BENCHPOSTGRES]\nBaseDados=" + endereco + "\n";
    }
    std::ofstream(m_pasta / "registro.ini") << registro;
    setenv("QMX_REGISTRO", (m_pasta / "registro.ini").c_str(), 1);
  }
  ~EmpresaBench() {
    if (!m_esquema.empty()) AbreSessao(std::getenv("QMX_TESTE_POSTGRES"))->ExecutaScript("DROP SCHEMA " + m_esquema + " CASCADE");
    fs::remove_all(m_pasta);
  }

 private:
  static void Preenche(const std::string& endereco) {
    CGravadorEmpresa g(endereco, true);
    g.Inicia();
    for (std::uint16_t n = 1; n <= 40; ++n) {
      REG_FILIALPS f{};
      f.Numero = n;
      std::strcpy(f.NomeFantasia, "Loja de S\xE3o Paulo");
      std::strcpy(f.UF, "SP");
      g.GravaFilial(f, "Com\xE9rcio de Alimentos \xC1vila Ltda");
    }
    for (std::uint16_t n = 1; n <= 120; ++n) {
      REG_EMISSORPS e{};
      e.Numero = n;
      e.Filial = static_cast<std::uint16_t>((n - 1) / 3 + 1);
      std::strcpy(e.NumeroSerie, "BE0910101000112001");
      e.TabelaAliquotas = 1;
      g.GravaEmissora(e);
    }
    for (std::uint16_t p = 1; p <= 5; ++p) g.GravaAliquota({1, p, 'T', 1800});
    g.Confirma();
  }

  fs::path m_pasta;
  std::string m_esquema;
};

EmpresaBench& Empresa() {
  static EmpresaBench empresa;
  return empresa;
}

const char* Chave(int motor) { return motor == 0 ? "BENCHSQLITE" : "BENCHPOSTGRES"; }

bool Disponivel(benchmark::State& estado) {
  Empresa();
  if (estado.range(0) == 1 && !std::getenv("QMX_TESTE_POSTGRES")) {
    estado.SkipWithError("QMX_TESTE_POSTGRES não definida");
    return false;
  }
  return true;
}

void BM_LeFilial(benchmark::State& estado) {
  if (!Disponivel(estado)) return;
  std::uint16_t numero = 0;
  for (auto _ : estado) {
    CConexaoFilial conexao;
    if (com::FAILED(conexao.Inicializa(Chave(static_cast<int>(estado.range(0))), 1, 0, false))) std::abort();
    REG_FILIALPS f;
    if (com::FAILED(conexao.GetInterface()->Le(static_cast<std::uint16_t>(numero++ % 40 + 1), &f))) std::abort();
    benchmark::DoNotOptimize(f);
    conexao.Finaliza();
  }
}
BENCHMARK(BM_LeFilial)->ArgName("motor")->Arg(0)->Arg(1);

void BM_LeEmissora(benchmark::State& estado) {
  if (!Disponivel(estado)) return;
  std::uint16_t numero = 0;
  for (auto _ : estado) {
    CConexaoEmissora conexao;
    if (com::FAILED(conexao.Inicializa(Chave(static_cast<int>(estado.range(0))), 1, 0))) std::abort();
    REG_EMISSORPS e;
    if (com::FAILED(conexao.GetInterface()->Le(static_cast<std::uint16_t>(numero++ % 120 + 1), &e))) std::abort();
    benchmark::DoNotOptimize(e);
    conexao.Finaliza();
  }
}
BENCHMARK(BM_LeEmissora)->ArgName("motor")->Arg(0)->Arg(1);

// The list of every ECF, as the search for the connected printer reads it.
void BM_ListaEmissoras(benchmark::State& estado) {
  if (!Disponivel(estado)) return;
  for (auto _ : estado) {
    CConexaoEmissora conexao;
    if (com::FAILED(conexao.Inicializa(Chave(static_cast<int>(estado.range(0))), 1, 0))) std::abort();
    std::uint16_t quantidade = 0;
    std::vector<REG_EMISSORPS> lista;
    if (com::FAILED(conexao.Lista(&quantidade, &lista))) std::abort();
    benchmark::DoNotOptimize(lista.data());
  }
}
BENCHMARK(BM_ListaEmissoras)->ArgName("motor")->Arg(0)->Arg(1);

}  // namespace
