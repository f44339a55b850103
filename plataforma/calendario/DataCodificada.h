#pragma once

#include <cstdint>

namespace qmx {

// A calendar date as the data servers and the fiscal files carry it.
struct DiaMesAno {
  std::uint16_t dia = 0;
  std::uint16_t mes = 0;
  std::uint16_t ano = 0;  // four digits
};

// Day numbers: days since 31 December 1847 counting every fourth year as a
// leap year, 0 meaning no date, two-digit years pivoting at 27 (27..99 are
// 1927..1999, 00..26 are 2000..2026). The arithmetic is 16-bit on purpose:
// the wrap-arounds are part of the encoding (year indexes below 52 decode to
// 1848..1899, 65381 decodes to 1 January 1927).
DiaMesAno DecodificaDia(std::uint16_t numeroDia);
std::uint16_t CodificaDia(std::uint16_t dia, std::uint16_t mes, std::uint16_t ano);

// Month codes: year index times 12 plus the month, 0 meaning none.
DiaMesAno DecodificaMes(std::uint16_t codigoMes);  // day left 0
std::uint16_t CodificaMes(std::uint16_t mes, std::uint16_t ano);

}  // namespace qmx
