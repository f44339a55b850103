#pragma once

#include "cli/Comandos.h"

namespace qmx::cli {

// Asks for a user's consent the way the point-of-sale program does: the
// authorization dialog of the company, with the name and password given
// as the operator's answers. True when the user was authorised.
bool ExecutaAutorizacao(Ambiente& a);

}  // namespace qmx::cli
