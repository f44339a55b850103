#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "arquivos/sintegra/ContextoSintegra.h"
#include "arquivos/sintegra/ItensSintegra.h"

namespace qmx::sintegra {

// The consumer notas kept with the branch's cash data (status 4): one 61
// line per day with the day's range of numbers and sums, then the 61R
// month sums per item, by item code.
class CConsumidorSintegra {
 public:
  CConsumidorSintegra(ContextoSintegra& contexto, CItensSintegra& itens) : m_contexto(contexto), m_itens(itens) {}

  // The 61 lines, day by day; the 61R sums are kept for Escreve61R.
  std::uint32_t Escreve61();
  std::uint32_t Escreve61R();

 private:
  struct Soma {
    std::int64_t quantidade = 0, valor = 0, base = 0;
    char letra = 0;
    std::uint16_t aliquota = 0;
    bool servico = false;
  };

  ContextoSintegra& m_contexto;
  CItensSintegra& m_itens;
  // (item code, year and month) -> the month's sums
  std::map<std::pair<std::string, std::uint32_t>, Soma> m_meses;
};

}  // namespace qmx::sintegra
