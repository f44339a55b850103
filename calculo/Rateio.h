#pragma once

#include <cstdint>
#include <vector>

namespace qmx {

// Shares an amount (four implied decimals) over parts in proportion to
// their weights, each share rounded to the cent (half away from zero) and
// the last part taking what is left, so that the shares add up to the
// amount exactly. Without weight (all zero) the last part takes it all.
// Used where a document's freight, insurance, other expenses and discount
// are spread over its lines.
std::vector<std::int64_t> Rateia(std::int64_t total, const std::vector<std::int64_t>& pesos);

}  // namespace qmx
