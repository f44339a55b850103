#pragma once

#include <cstdint>

namespace qmx {

// What the stock movements are worth: the average cost of what a storage
// place holds, kept as the place's running quantity and total cost.
// Quantities and values hold the figure times 10 000; values come out
// rounded to the cent, halves away from zero.

// What an exit of `quantidade` takes from a place holding `quantidadeLocal`
// worth `valorLocal`: its share of that value, so that the last units take
// exactly what is left. A place with nothing (or nothing of value) left
// gives the last purchase cost instead.
std::int64_t CustoDaSaida(std::int64_t quantidade, std::int64_t quantidadeLocal, std::int64_t valorLocal,
                          std::int64_t custoUltimaCompra);

// A quantity at a unit cost.
std::int64_t ValorAoCusto(std::int64_t quantidade, std::int64_t custoUnitario);

}  // namespace qmx
