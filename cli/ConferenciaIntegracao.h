#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "plataforma/calendario/NumeroDia.h"

namespace qmx::cli {

// qmx integra conferir: the day's reconciliation of an ECF, a line per
// means of payment with what the cupons received, the titles (and their
// count) and the day's total the back office holds, and the difference;
// then the verdict. True when everything the cupons received is in the
// back office once.
bool MostraConferencia(std::ostream& saida, const std::string& empresa, NumeroDia data, std::uint16_t ecf,
                       const std::string& recuo = "");

}  // namespace qmx::cli
