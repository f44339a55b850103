#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "arquivos/efd/Bloco0VendaPeriodo.h"
#include "arquivos/efd/ColecoesVendaPeriodo.h"
#include "arquivos/ContagemRegistros.h"
#include "arquivos/efd/GeradorEFD.h"
#include "frame/ContextoBiblioteca.h"

namespace qmx::venda {

// Writes the Venda do Período file in the digital-bookkeeping layout:
// 0000, blocks 0, C, D, E, G, H, 1 and 9, from the notas and consumer notas
// of the period, the ECF lines that the SPED extract collected, and the
// inventory.
//
// Block 0 lists what the later blocks used, so it is made last and written
// first: block C's own lines wait in a temporary file, like the extract's
// ECF group, and the file is put together when everything is known. Only
// the catalogue-sized parts (block 0, block H) are held in memory.
class CGeradorVendaPeriodo {
 public:
  CGeradorVendaPeriodo(const TriploConexao& triplo, const FiltroVenda& filtro, efd::CGeradorEFD& ecf);

  // The whole file at `caminho` (written beside it and put in its place
  // when complete). False, with nothing written, when block 0's items could
  // not be read; CExcecaoArquivo when the disk fails.
  // `antesDeGuardar` finishes the whole file (its signature) before it
  // takes its name.
  bool Gera(const std::string& caminho, const CArquivoTexto::AntesDeGuardar& antesDeGuardar = {});
  // The notas left out because their participant can no longer be read.
  const std::vector<std::uint32_t>& NotasSemParticipante() const { return m_semParticipante; }

 private:
  void CopiaItensDoExtrato();
  std::string BlocoH(std::uint32_t& linhas005, std::uint32_t& linhas010);

  TriploConexao m_triplo;
  FiltroVenda m_filtro;
  efd::CGeradorEFD& m_ecf;
  ColecoesVendaPeriodo m_colecoes;
  CContagemRegistros m_contagem;
  std::vector<std::uint32_t> m_semParticipante;
};

}  // namespace qmx::venda
