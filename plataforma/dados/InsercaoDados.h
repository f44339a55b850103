#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
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

// Splits a list of total entries into consecutive pieces of a power of two
// entries, at most kLinhasPorInsercao each, largest first, and calls
// porPedaco(first, count) for each. A statement built for a piece's size
// is then prepared once per size, never once per list.
void PercorrePedacos(std::size_t total, const std::function<void(std::size_t, std::size_t)>& porPedaco);

// A statement's list of quantos placeholders, "?, ?, ?" (or of quantos
// copies of another piece, such as "(?, ?)"), for an IN list or a VALUES.
std::string ListaDeMarcadores(std::size_t quantos, std::string_view marcador = "?");

// Reads the rows of a long list of keys: the list split as PercorrePedacos
// splits it, leituraDoPedaco(first, count) making each piece's statement
// and parameters, every piece sent together (one round trip on a server
// inside a transaction), each row of every piece, in order, to porLinha.
// An empty list sends nothing.
void LePorPedacos(CSessaoDados& sessao, std::size_t total,
                  const std::function<LeituraDados(std::size_t, std::size_t)>& leituraDoPedaco,
                  const std::function<void(const LinhaDados&)>& porLinha);

}  // namespace qmx::dados
