// Signing is dominated by the digest of the file: a 50 MB file signed,
// against the MD5 of the same bytes alone.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>
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

namespace {

// The goal in one number: signing the 50 MB file against digesting it read
// from the disk in large pieces, as a command-line digest tool does.
void BM_RazaoAssinaturaSobreDigest(benchmark::State& estado) {
  const std::string& caminho = Arquivo();
  double assinando = 0, digerindo = 0;
  std::vector<char> bloco(1 << 20);
  for (auto _ : estado) {
    auto inicio = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(qmx::AssinaturaEAD::AssinaArquivo(caminho));
    assinando += std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    inicio = std::chrono::steady_clock::now();
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> md5(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    EVP_DigestInit_ex(md5.get(), EVP_md5(), nullptr);
    std::FILE* arquivo = std::fopen(caminho.c_str(), "rb");
    for (size_t n; arquivo && (n = std::fread(bloco.data(), 1, bloco.size(), arquivo)) > 0;)
      EVP_DigestUpdate(md5.get(), bloco.data(), n);
    if (arquivo) std::fclose(arquivo);
    unsigned char digest[16];
    unsigned int n = 0;
    EVP_DigestFinal_ex(md5.get(), digest, &n);
    digerindo += std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  }
  estado.counters["razao"] = assinando / digerindo;
}
BENCHMARK(BM_RazaoAssinaturaSobreDigest)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
