#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados {

// Writes a row, replacing the one with the same key (the first
// colunasChave columns): INSERT ... ON CONFLICT DO UPDATE, understood alike
// by both engines.
void InsereOuSubstitui(CSessaoDados& sessao, const std::string& tabela, const std::vector<std::string>& colunas,
                       std::size_t colunasChave, const std::vector<ParametroDados>& valores);

}  // namespace qmx::dados
