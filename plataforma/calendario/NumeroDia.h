#pragma once

#include <cstdint>

namespace qmx {

// A date inside the library and in its databases: the count of days since
// 31 December 1847, 0 meaning no date. It has no end; only the exported
// surface still carries 16 bits of it (JanelaDatas.h).
using NumeroDia = std::int32_t;

}  // namespace qmx
