// Signing is dominated by the digest of the file: a 50 MB file signed,
// against the MD5 of the same bytes alone.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "fisco/AssinaturaEAD.h"

namespace {

constexpr size_t kTamanho = 50u * 1024 * 1024;

const std::string& Arquivo() {
  static const std::string caminho = [] {
    const auto arquivo = std::filesystem::temp_directory_path() / "qmx-bench-assinatura.txt";
    std::string linha = "R05|0000000001|PRODUTO DE DEMONSTRACAO|000000001000|UN|000000000199\r\n";
    std::ofstream saida(arquivo, std::ios::binary | std::ios::trunc);
    for (size_t escrito = 0; escrito < kTamanho; escrito += linha.size()) saida << linha;
    return arquivo.string();
  }();
  return caminho;
}

void BM_AssinaArquivo50MB(benchmark::State& estado) {
  const std::string& caminho = Arquivo();
  for (auto _ : estado) benchmark::DoNotOptimize(qmx::AssinaturaEAD::AssinaArquivo(caminho));
  estado.SetBytesProcessed(static_cast<std::int64_t>(estado.iterations() * kTamanho));
}
BENCHMARK(BM_AssinaArquivo50MB)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SoMD5_50MB(benchmark::State& estado) {
  std::ifstream entrada(Arquivo(), std::ios::binary);
  const std::string conteudo((std::istreambuf_iterator<char>(entrada)), {});
  unsigned char digest[16];
  unsigned int n = 0;
  for (auto _ : estado) benchmark::DoNotOptimize(EVP_Digest(conteudo.data(), conteudo.size(), digest, &n, EVP_md5(), nullptr));
  estado.SetBytesProcessed(static_cast<std::int64_t>(estado.iterations() * conteudo.size()));
}
BENCHMARK(BM_SoMD5_50MB)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
