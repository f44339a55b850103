#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "plataforma/calendario/NumeroDia.h"

namespace qmx::cli {

// qmx integra conferir: the day's reconciliation of an ECF, one line per
// compared figure (its group, what the sources make it, what the books
// hold, the difference), then what is wrong besides, then the verdict.
// True when every figure agrees and nothing is wrong.
bool MostraConferencia(std::ostream& saida, const std::string& empresa, NumeroDia data, std::uint16_t ecf,
                       const std::string& recuo = "");

}  // namespace qmx::cli
