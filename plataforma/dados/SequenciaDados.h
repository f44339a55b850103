#pragma once

#include <cstdint>

#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados {

// Takes the next number of a counter of qmx_sequencia ("movimento_estoque",
// "integracao", ...). The counter's row stays locked until the session's
// transaction ends, so two writers never share a number.
std::int64_t ProximoNumero(CSessaoDados& sessao, const char* contador);

}  // namespace qmx::dados
