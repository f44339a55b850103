// Day-number conversions run once per date field of every record of the
// fiscal files: a month of a busy store means hundreds of thousands.
#include <benchmark/benchmark.h>

#include "plataforma/calendario/DataCodificada.h"
#include "frame/QMXUTIL.h"

namespace {

void BM_DecodificaDia(benchmark::State& estado) {
  qmx::NumeroDia dia = 28856;
  for (auto _ : estado) {
    benchmark::DoNotOptimize(qmx::DecodificaDia(dia));
    dia = dia == 65380 ? 28856 : dia + 1;
  }
  estado.SetItemsProcessed(estado.iterations());
}
BENCHMARK(BM_DecodificaDia);

void BM_CodificaDia(benchmark::State& estado) {
  int dia = 1;
  for (auto _ : estado) {
    benchmark::DoNotOptimize(qmx::CodificaDia(static_cast<std::uint16_t>(dia), 7, 2026));
    dia = dia == 31 ? 1 : dia + 1;
  }
  estado.SetItemsProcessed(estado.iterations());
}
BENCHMARK(BM_CodificaDia);

void BM_MontaData(benchmark::State& estado) {
  for (auto _ : estado) benchmark::DoNotOptimize(MontaData(60000, true));
  estado.SetItemsProcessed(estado.iterations());
}
BENCHMARK(BM_MontaData);

}  // namespace
