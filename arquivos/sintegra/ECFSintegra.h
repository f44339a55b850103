#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <string>
#include <utility>
#include <vector>

#include "arquivos/sintegra/ContextoSintegra.h"
#include "arquivos/sintegra/ItensSintegra.h"
#include "plataforma/dados/RegistroEmissora.h"

namespace qmx::sintegra {

// The ECF records of the file: for each day of the period and each ECF
// (in order of serial number) that has a Z reduction, 60M, the 60A
// totalizers, the 60D item sums of the day and a 60I line per cupom item;
// then the 60R month sums. The lines come out in the order the file sorts
// them (date, serial number, M A D I), so they are written as they are
// made: only one ECF-day is held at a time.
class CECFSintegra {
 public:
  CECFSintegra(ContextoSintegra& contexto, CItensSintegra& itens) : m_contexto(contexto), m_itens(itens) {}

  // Every line of 60M, 60A, 60D and 60I.
  std::uint32_t EscreveDias(const std::vector<REG_EMISSORPS>& emissoras);
  // The 60R lines, by year, month and item code.
  std::uint32_t Escreve60R();

 private:
  struct Soma {
    std::int64_t quantidade = 0, valor = 0, base = 0, icms = 0;
    char letra = 0;
    std::uint16_t aliquota = 0;
    bool servico = false;
  };

  ContextoSintegra& m_contexto;
  CItensSintegra& m_itens;
  // (month code, item code, tax situation) -> the month's sums; ordered by
  // the item code's text only when written.
  struct ChaveMes {
    std::uint32_t mes, codigo, tipo;  // tipo: as the 60D key's third word
    bool operator==(const ChaveMes&) const = default;
  };
  struct HashMes {
    std::size_t operator()(const ChaveMes& k) const {
      return std::hash<std::uint64_t>()((std::uint64_t{k.mes} << 32 | k.codigo) ^ (std::uint64_t{k.tipo} << 17));
    }
  };
  std::unordered_map<ChaveMes, Soma, HashMes> m_meses;
};

}  // namespace qmx::sintegra
