#pragma once

#include <vector>

#include "arquivos/RegrasValidacao.h"

namespace qmx::validacao {

// The Sintegra file against Convênio ICMS 57/95 and its Manual de
// Orientação: lines of 126 characters and CR LF; the record families in
// their order (10, 11, 50, 54, 60, 61, 75, 90 among those a store writes)
// and each family in its own sort order; every field's form and codes;
// dates inside the period of register 10; every 54 behind a 50 of the same
// document, CFOP and rate, its base adding up to that 50's; every 60A, 60D
// and 60I inside the day of its 60M; a 75 for every item code cited; and
// the counts of register 90.
void ValidaSintegra(const std::vector<Linha>& linhas, CColetor& coletor);

}  // namespace qmx::validacao
