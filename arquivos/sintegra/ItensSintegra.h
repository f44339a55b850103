#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "arquivos/sintegra/ContextoSintegra.h"

namespace qmx::sintegra {

// The items that the 54, 60 and 61 records used, for register 75: one
// line per item, in the order of the item codes' text.
class CItensSintegra {
 public:
  // The description is what the document kept, for an item whose record
  // can no longer be read.
  void Acrescenta(bool servico, std::uint32_t codigo, const char* descricao);

  // Reads each item's record (products with the branch's rates) and writes
  // its 75 line. Answers the number of lines.
  std::uint32_t Escreve(ContextoSintegra& contexto);

 private:
  struct Item {
    bool servico;
    std::uint32_t codigo;
    std::string descricao;
  };
  // Keyed by kind and code while the file is read (an item is met millions
  // of times); ordered by the code's text only to be written.
  std::unordered_map<std::uint64_t, Item> m_itens;
};

}  // namespace qmx::sintegra
