#pragma once

#include <memory>

#include "arquivos/RegrasValidacao.h"

namespace qmx::validacao {

// The Sintegra file against Convênio ICMS 57/95 and its Manual de
// Orientação, whoever wrote it: lines of 126 characters and CR LF; every
// register type of the Convênio (10 to 90, the 88 subtypes of the states
// that publish them) with each field's form, size and codes, read from the
// published tables kept beside this file (leiaute/); the types in their
// order and each in its sort order (50, 51, 53, 55, 61, 70 and 71 by date,
// 54 by document and item, 60 by day, ECF and subtype, 60R and 61R by
// month and item, 75 by product code); dates inside the period of register
// 10; every 54 behind a 50 of the same document and CFOP, its base adding
// up to that 50's and a nota's 50 totals to its items and extras; the 60A,
// 60D and 60I inside the day of their 60M; a 75 for every item code cited;
// and the counts of register 90 (10, 11 and 90 never paired, 99 all lines).
std::unique_ptr<CValidadorLinhas> NovoValidadorSintegra(CColetor& coletor);

}  // namespace qmx::validacao
