#pragma once

#include <cstdint>

namespace qmx {

// What the stock movements are worth: the average cost of what a storage
// place holds, kept as the place's running quantity and total cost.
// Quantities and values hold the figure times 10 000; values come out
// rounded to the cent, halves away from zero.

// What `quantidade` is worth in a place holding `quantidadeLocal` worth
// `valorLocal`: its share of that value, so that the last units take
// exactly what is left. A place with nothing (or nothing of value) left
// values it at the last purchase cost instead. A negative quantity (a
// place that went below zero) is worth as much less.
std::int64_t ValorNoCustoMedio(std::int64_t quantidade, std::int64_t quantidadeLocal, std::int64_t valorLocal,
                               std::int64_t custoUltimaCompra);

// What an exit of `quantidade` takes: its value at the average cost, and
// never less than one cent, so that a tiny quantity of a cheap product
// still has an entry (an accountant expects every movement of the stock
// in the books; a zero entry is refused by the accounting server).
std::int64_t CustoDaSaida(std::int64_t quantidade, std::int64_t quantidadeLocal, std::int64_t valorLocal,
                          std::int64_t custoUltimaCompra);

// A quantity at a unit cost.
std::int64_t ValorAoCusto(std::int64_t quantidade, std::int64_t custoUnitario);

}  // namespace qmx
