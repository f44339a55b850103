#pragma once

#include <memory>

#include "arquivos/RegrasValidacao.h"

namespace qmx::validacao {

// The text file of the detail memory (and of the fiscal memory) in the
// layout of Ato COTEPE/ICMS 17/04: E01 and E02 first and once, then E12 to
// E21 grouped by type in that order, each record's width and fields, each
// type in the order the Ato classifies it (E12 by CRZ, E13 by CRZ and
// totalizer, E14 by CCF, E15 by CCF and item, E16 by COO), every E13 of a
// Z reduction that an E12 lists, every E15 of a cupom that an E14 lists,
// and every payment of E21 of a document of E14 or E16.
std::unique_ptr<CValidadorLinhas> NovoValidadorMFD(CColetor& coletor);

}  // namespace qmx::validacao
