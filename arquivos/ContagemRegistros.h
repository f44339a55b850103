#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qmx::venda {

// A register and how many lines of it a writer wrote.
struct REG_REGISTRO_ARQUIVO {
  std::uint32_t Quantidade;
  char Registro[5];
};

// The opening and closing lines of a block.
struct LinhasBloco {
  std::string abertura;
  std::string fechamento;
};

// The list that every register writer of the file adds its count to, in
// the order the writers run; block 9 is written from it, so that order is
// the order of the 9900 lines.
class CContagemRegistros {
 public:
  void Acrescenta(std::uint32_t quantidade, const char* registro);

  // The block wrapper: "|X001|i|" (i is 0 when the block has lines of its
  // own, n > 0, else 1) and "|X990|n+2|", with the two registers counted
  // once each.
  LinhasBloco Envolve(char bloco, std::uint32_t n);

  // Block 9: 9001, a 9900 line per register of the list that has lines,
  // the 9900 line of 9900 itself, 9990 and 9999 (the file's lines).
  std::string Bloco9();

  const std::vector<REG_REGISTRO_ARQUIVO>& Lista() const { return m_lista; }

 private:
  std::vector<REG_REGISTRO_ARQUIVO> m_lista;
};

}  // namespace qmx::venda
