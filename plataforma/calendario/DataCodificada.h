#pragma once

#include <cstdint>
#include <string>

#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// A calendar date as the data servers and the fiscal files carry it.
struct DiaMesAno {
  std::uint16_t dia = 0;
  std::uint16_t mes = 0;
  std::uint16_t ano = 0;  // four digits
};

// Day numbers (NumeroDia.h): 1 is 1 January 1848. Every fourth year is a
// leap year up to 2000, 1900 included, as the day numbers have always
// counted; from 2001 on the Gregorian rule holds (2100, 2200 and 2300 are
// common years, 2400 a leap year). The numbers of 1927 to 2026 are the ones
// the data servers have always stored: 1 January 1927 is 28856,
// 31 December 2026 is 65380, 1 January 2027 is 65381.
//
// Decoding covers 1 January 1848 to 31 December 9999; a number outside that
// decodes to no date (all zeros), as 0 does.
DiaMesAno DecodificaDia(NumeroDia numeroDia);
// The year has its four digits. Day, month and year 0 give 0; a month
// outside 1..12 or a year outside 1848..9999 has no number (0). A day past
// the month's end is the month's last day (29 February of a common year is
// the 28th).
NumeroDia CodificaDia(unsigned dia, unsigned mes, unsigned ano);
// The number of days of a month of a year, by the rule above.
unsigned DiasDoMes(unsigned mes, unsigned ano);

// Month codes: (year - 1848) times 12 plus the month, 0 meaning none. The
// codes of 1927 to 2026 are the ones the data servers have always stored,
// and 16 bits hold them for any four-digit year.
DiaMesAno DecodificaMes(std::uint16_t codigoMes);  // day left 0
std::uint16_t CodificaMes(unsigned mes, unsigned ano);

// Date texts of a day number; day 0 gives zeros in every place.
// "DD/MM/AAAA", or "DD/MM/AA" with the last two digits of the year.
std::string TextoData(NumeroDia numeroDia, bool anoQuatroDigitos);
// "AAAAMMDD" with the year first, else "DDMMAAAA".
std::string DataInvertida(NumeroDia numeroDia, bool anoPrimeiro);

}  // namespace qmx
