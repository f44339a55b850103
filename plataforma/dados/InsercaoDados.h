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

// Writes several rows of a table in one statement: the values row after
// row, as many per row as there are columns. The rows travel as one write
// whose answer nobody reads (CSessaoDados::Enfileira); a long list goes in
// pieces of at most kLinhasPorInsercao rows, each a power of two.
inline constexpr std::size_t kLinhasPorInsercao = 256;
void InsereLinhas(CSessaoDados& sessao, const std::string& tabela, const std::vector<std::string>& colunas,
                  const std::vector<ParametroDados>& valores);

}  // namespace qmx::dados
