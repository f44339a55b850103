#pragma once

#include <cstdint>

#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// The point-of-sale program hands the library 16-bit day numbers and reads
// them back (the exported functions and their records keep that width), and
// people type and read two-digit years. Both are read in a window that
// slides with today's date, so that neither runs out:
//
// - A 16-bit day number is a day number taken modulo 65 535 into 1..65 535
//   (0 stays "no date"). It reads as the one day, among the 65 535 days
//   that end ten years after today, that gives it. The window never ends
//   before day 65 535, so with a clock before 2017 every 16-bit number is
//   its own day number. In December 2026 the window runs from 1857 to 2036:
//   65 380 is 31 December 2026, 65 381 is 1 January 2027 and 1 is 5 June
//   2027 (day number 65 536).
// - A two-digit year is the year, among the hundred years that end ten
//   years after today's year, that ends in those digits. The hundred years
//   never end before 2026 (with a clock before 2017 the years 27..99 are
//   1927..1999 and 00..26 are 2000..2026). In 2026: 1937..2036; in 2030:
//   1941..2040.

// Day number to its 16-bit form.
std::uint16_t DiaDezesseisBits(NumeroDia numeroDia);

// The first and the last day of the window of `hoje`.
NumeroDia InicioDaJanela(NumeroDia hoje);
NumeroDia FimDaJanela(NumeroDia hoje);

// A 16-bit day number read in the window of `hoje`.
NumeroDia DiaNaJanela(std::uint16_t dia16, NumeroDia hoje);

// A two-digit year (0..99) read in the hundred years of `anoHoje`; a larger
// number is taken as a year already whole.
unsigned AnoNaJanela(unsigned doisDigitos, unsigned anoHoje);

// Where the pieces of the platform read today from, for the windows above:
// the library clock installs itself when the library loads. Without it
// today is unknown (0) and the windows are those of a clock before 2017.
using FonteHoje = NumeroDia (*)();
void DefineFonteHoje(FonteHoje fonte);
NumeroDia HojeDaFonte();

// The same clock's instant, in milliseconds since 1970 (UTC), for the
// pieces that count time across processes (the login throttle); 0 without
// the clock.
using FonteAgora = std::int64_t (*)();
void DefineFonteAgora(FonteAgora fonte);
std::int64_t AgoraDaFonte();

// The same windows at today's date of that source.
NumeroDia LeDiaDezesseisBits(std::uint16_t dia16);
unsigned LeAnoDoisDigitos(unsigned doisDigitos);

}  // namespace qmx
