// qmx validar on the big store's Sintegra file of the month (written once
// by the generator from the SQLite store, or the file QMX_BENCH_SINTEGRA
// names), against the time `openssl dgst -md5` takes to digest the same
// file, which is what the EAD check needs of it anyway. Each round times
// the two side by side; the counters give the medians: s (validation),
// s_md5 (openssl), razao (their ratio, the limit 1.5), pico_MB (the
// validation's peak resident memory above what the process held before,
// the limit 64) and MB (the file).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "LojaGrande.h"
#include "arquivos/ValidacaoArquivo.h"
#include "arquivos/sintegra/GeradorSintegra.h"
#include "fisco/AssinaturaEAD.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx::bench {
namespace {

// The file to validate: the one named, or the big store's month.
std::string ArquivoSintegra() {
  if (const char* nomeado = std::getenv("QMX_BENCH_SINTEGRA")) return nomeado;
  static std::string gerado;
  if (!gerado.empty()) return gerado;
  Lojas::Instancia().Pega(0);
  RegistroDaLoja registro(Lojas::Instancia().Registro());
  gerado = (fs::path(Lojas::Instancia().Registro()).parent_path() / "sintegra-mes.txt").string();
  sintegra::FiltroSintegra filtro;
  filtro.filial = 1;
  filtro.dataInicial = CodificaDia(1, 11, 2026);
  filtro.dataFinal = CodificaDia(30, 11, 2026);
  sintegra::CGeradorSintegra({Chave(0), 1, 0}).Gera(filtro, gerado, AssinaturaEAD::AoGuardar());
  return gerado;
}

// What the digest alone takes: the openssl program, run as a shell would.
double SegundosMD5(const std::string& arquivo) {
  const auto inicio = Relogio::now();
  std::FILE* saida = popen(("openssl dgst -md5 '" + arquivo + "' > /dev/null").c_str(), "r");
  if (!saida || pclose(saida) != 0) return -1;
  return Segundos(inicio);
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void BM_ValidaSintegraLojaGrande(benchmark::State& estado) {
  const std::string arquivo = ArquivoSintegra();
  std::vector<double> validacao, md5, razoes;
  long pico = 0;
  for (auto _ : estado) {
    // The page cache warm for both, as after writing the file.
    SegundosMD5(arquivo);
    for (int rodada = 0; rodada < 5; ++rodada) {
      const double s_md5 = SegundosMD5(arquivo);
      const long antes = MemoriaKB("VmRSS:");
      ZeraPico();
      auto inicio = Relogio::now();
      bool legivel = false;
      const auto v = validacao::ValidaArquivo(arquivo, &legivel);
      const double s = Segundos(inicio);
      pico = std::max(pico, MemoriaKB("VmHWM:") - antes);
      if (!legivel || !v.Valido()) {
        estado.SkipWithError("o arquivo não é válido ou não se lê");
        return;
      }
      validacao.push_back(s);
      md5.push_back(s_md5);
      razoes.push_back(s / s_md5);
    }
    estado.SetIterationTime(Mediana(validacao));
  }
  estado.counters["s"] = Mediana(validacao);
  estado.counters["s_md5"] = Mediana(md5);
  estado.counters["razao"] = Mediana(razoes);
  estado.counters["pico_MB"] = static_cast<double>(pico) / 1024.0;
  estado.counters["MB"] = static_cast<double>(fs::file_size(arquivo)) / 1e6;
}
BENCHMARK(BM_ValidaSintegraLojaGrande)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace qmx::bench
