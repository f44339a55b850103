#pragma once

#include <cstdint>

// The OLE Automation currency value: a signed 64-bit integer holding the
// value times 10 000 (four decimals). A plain record field type; calculo/CY.h
// gives it the arithmetic of the OLE Automation currency.
struct CY
{
    std::int64_t int64;
};
