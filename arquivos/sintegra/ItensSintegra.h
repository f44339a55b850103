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
  // An item met in a cupom (whose walk does not read descriptions): the
  // description that cupom kept is read only for an item whose record and
  // documents can no longer be read.
  void AcrescentaDoCupom(bool servico, std::uint32_t codigo, std::uint32_t cupom, std::uint16_t item);

  // Reads each item's record (products with the branch's rates) and writes
  // its 75 line. Answers the number of lines.
  std::uint32_t Escreve(ContextoSintegra& contexto);

 private:
  struct Item {
    bool servico;
    std::uint32_t codigo;
    std::string descricao;
    std::uint32_t cupom = 0;  // the cupom that kept it, when not kept here
    std::uint16_t item = 0;
  };
  void Guarda(Item item);
  std::string DescricaoGuardada(ContextoSintegra& contexto, const Item& item) const;
  // Keyed by kind and code while the file is read (an item is met millions
  // of times); ordered by the code's text only to be written.
  std::unordered_map<std::uint64_t, Item> m_itens;
};

}  // namespace qmx::sintegra
