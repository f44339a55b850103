#include "plataforma/arquivos/LinhasOrdenadas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "apoio/PastaTemporaria.h"
#include "plataforma/arquivos/ArquivoTexto.h"

// Whatever the budget, the lines come out as one sort of all of them puts
// them: every line its own kept batch (budget 0), a few batches, all in
// memory; empty and repeated lines, bytes above 0x7F (ordered as unsigned,
// as whole texts compare), CR, LF and NUL inside a line, and lines longer
// than a kept batch's reading buffer.
TEST(LinhasOrdenadas, SaemComoUmaOrdenacaoDeTodasQualquerQueSejaOOrcamento) {
  qmx::testes::PastaTemporaria pasta;
  std::mt19937 gerador(2026);
  const std::size_t orcamentos[] = {0, 1, 300, 150000, qmx::CLinhasOrdenadas::kOrcamentoPadrao};
  const char letras[] = {'a', 'b', '0', '\x80', '\xff', '\r', '\n', '\0'};
  for (int rodada = 0; rodada < 30; ++rodada) {
    std::vector<std::string> linhas(gerador() % 2500);
    for (std::size_t i = 0; i < linhas.size(); ++i) {
      if (i > 0 && gerador() % 8 == 0) {
        linhas[i] = linhas[gerador() % i];
        continue;
      }
      const std::size_t tamanho = gerador() % 400 == 0 ? 140000 + gerador() % 3 : gerador() % 12;
      for (std::size_t j = 0; j < tamanho; ++j) linhas[i] += letras[gerador() % sizeof letras];
    }
    qmx::CLinhasOrdenadas ordenadas("R07", orcamentos[rodada % 5]);
    for (const auto& linha : linhas) ordenadas.Acrescenta(linha);
    CArquivoTexto arquivo;
    ASSERT_TRUE(arquivo.Abrir(pasta.Caminho("saida"), CArquivoTexto::Modo::EscritaBinaria));
    arquivo.EscreverTexto("antes|");
    ordenadas.EscrevePara(arquivo);
    ordenadas.EscrevePara(arquivo);  // nothing is left after the first time
    arquivo.Fechar();
    std::sort(linhas.begin(), linhas.end());
    std::string esperado = "antes|";
    for (const auto& linha : linhas) esperado += linha;
    ASSERT_EQ(qmx::testes::PastaTemporaria::Le(pasta.Caminho("saida")), esperado) << "rodada " << rodada;
  }
}
