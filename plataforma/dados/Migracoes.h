#pragma once

#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados {

// Brings a company database to the newest schema: every migration newer
// than the version recorded in the database runs, in order, each in its
// own transaction with its version, so a failed one leaves the database
// at the previous version. Processes that start together take turns.
// Returns the version the database is at afterwards.
int AplicaMigracoes(CSessaoDados& sessao);

// The newest version the library knows.
int VersaoMaisRecente();

}  // namespace qmx::dados
