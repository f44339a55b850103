// Reading inputs that once cost the square of their size:
// - BM_LeituraTEFLinhasEmBranco: a TEF file of 200 KB of blank lines (all
//   of them in field 0) and one of 20 000 lines in shuffled positions;
// - BM_RegistroGrandeRelido: 200 reads of a value from a 7 MB registry file
//   that does not change (parsed once).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "plataforma/registro/Registro.h"
#include "tef/QMXArquivoTEF.h"

namespace {

namespace fs = std::filesystem;

fs::path Temporario(const std::string& nome) {
  return fs::temp_directory_path() / ("qmx-bench-" + std::to_string(getpid()) + "-" + nome);
}

void BM_LeituraTEFLinhasEmBranco(benchmark::State& estado) {
  const fs::path brancas = Temporario("brancas.001"), embaralhado = Temporario("embaralhado.001");
  std::ofstream(brancas, std::ios::binary) << std::string(200000, '\n');
  std::mt19937 sorteio(21);
  {
    std::ofstream saida(embaralhado, std::ios::binary);
    for (int i = 0; i < 20000; ++i) saida << "007-" << sorteio() % 999 << " = x\n";
  }
  for (auto _ : estado) {
    CQMXArquivoTEF a(brancas.string()), b(embaralhado.string());
    benchmark::DoNotOptimize(a.LerArquivo());
    benchmark::DoNotOptimize(b.LerArquivo());
  }
  estado.SetItemsProcessed(estado.iterations() * 220000);
  fs::remove(brancas);
  fs::remove(embaralhado);
}
BENCHMARK(BM_LeituraTEFLinhasEmBranco)->Unit(benchmark::kMillisecond);

void BM_RegistroGrandeRelido(benchmark::State& estado) {
  const fs::path arquivo = Temporario("registro.ini");
  {
    std::ofstream saida(arquivo, std::ios::binary);
    for (int i = 0; i < 200000; ++i) saida << "[SOFTWARE\\Enchimento\\" << i << "]\nValor=abcdefghij\n";
    saida << "[SOFTWARE\\ZT Redudeva\\Torvo ECF]\nPath=C:\\um\n";
  }
  const char* anterior = std::getenv("QMX_REGISTRO");
  const std::string guardado = anterior ? anterior : "";
  setenv("QMX_REGISTRO", arquivo.c_str(), 1);
  for (auto _ : estado)
    for (int i = 0; i < 200; ++i)
      benchmark::DoNotOptimize(qmx::registro::Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Torvo ECF", "Path"));
  if (anterior) setenv("QMX_REGISTRO", guardado.c_str(), 1);
  else unsetenv("QMX_REGISTRO");
  fs::remove(arquivo);
}
BENCHMARK(BM_RegistroGrandeRelido)->Unit(benchmark::kMillisecond);

}  // namespace
