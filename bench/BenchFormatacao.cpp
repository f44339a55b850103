// Every field of every record of the fiscal files goes through these.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "frame/QMXFormatador.h"
#include "frame/QMXGenerica.h"

namespace {

std::atomic<long> g_alocacoes{0};

}  // namespace

// Counts allocations, to show that the formatter makes none per call. The
// replaced pair is malloc/free on both sides; the compiler cannot see that
// the global operators are replaced and warns about the pairing.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t tamanho) {
  g_alocacoes.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(tamanho ? tamanho : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

void BM_FormatadorCampos(benchmark::State& estado) {
  qmx::CQMXFormatador formatador;
  std::int64_t valor = 1234567;
  const long antes = g_alocacoes.load();
  for (auto _ : estado) {
    benchmark::DoNotOptimize(formatador.FormataValor(valor++, 14, 2, true, true));
    benchmark::DoNotOptimize(formatador.FormataTexto("PRODUTO DE TESTE", 50, true, true));
    benchmark::DoNotOptimize(formatador.FormataNumeroTexto("12.345.678/0001-90", 14, true));
    benchmark::DoNotOptimize(formatador.FormataInteiro(valor, 6, true));
    benchmark::DoNotOptimize(formatador.FormataDataAMD(60000, ""));
  }
  estado.SetItemsProcessed(estado.iterations() * 5);
  estado.counters["alocacoes_por_campo"] =
      static_cast<double>(g_alocacoes.load() - antes) / static_cast<double>(estado.iterations() * 5);
}
BENCHMARK(BM_FormatadorCampos);

void BM_FormataCampo(benchmark::State& estado) {
  for (auto _ : estado) {
    benchmark::DoNotOptimize(CQMXGenerica::FormataCampo("12.345.678/0001-90", 14, true, false));
    benchmark::DoNotOptimize(CQMXGenerica::FormataCampo("RAZAO SOCIAL", 35, false, false));
  }
  estado.SetItemsProcessed(estado.iterations() * 2);
}
BENCHMARK(BM_FormataCampo);

}  // namespace
