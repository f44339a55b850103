#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CArquivoTexto;

namespace qmx {

// Lines to be written in the byte order of their whole texts, however many
// come. They are gathered in memory up to a budget; a full batch is sorted
// and kept in an anonymous temporary file, and the kept batches are merged
// while they are written out. Memory stays at the budget whatever the
// number of lines, plus a reading buffer per kept batch. A failure of the
// temporary file throws CExcecaoArquivo naming `nome`.
class CLinhasOrdenadas {
 public:
  static constexpr std::size_t kOrcamentoPadrao = std::size_t{1} << 21;

  explicit CLinhasOrdenadas(std::string nome, std::size_t orcamento = kOrcamentoPadrao);
  ~CLinhasOrdenadas();
  CLinhasOrdenadas(const CLinhasOrdenadas&) = delete;
  CLinhasOrdenadas& operator=(const CLinhasOrdenadas&) = delete;

  void Acrescenta(std::string_view linha);

  // Writes every line to the end of `destino`, in order, and forgets them.
  void EscrevePara(CArquivoTexto& destino);

 private:
  struct Lote {
    std::int64_t inicio;
    std::int64_t fim;
  };
  std::vector<std::string_view> LinhasDoLote();
  void GuardaLote();
  void Intercala(CArquivoTexto& destino);

  std::string m_nome;
  std::size_t m_orcamento;
  std::string m_texto;                                     // the batch's lines, one after another
  std::vector<std::pair<std::size_t, std::size_t>> m_linhas;  // where each starts, its size
  std::FILE* m_arquivo = nullptr;                          // made when the first batch is kept
  std::int64_t m_guardados = 0;
  std::vector<Lote> m_lotes;
};

}  // namespace qmx
