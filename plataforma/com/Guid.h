#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qmx::com {

// A class id or interface id, laid out as the component model lays it out.
struct GUID {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::uint8_t Data4[8] = {};

  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
  friend constexpr bool operator<(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1) return a.Data1 < b.Data1;
    if (a.Data2 != b.Data2) return a.Data2 < b.Data2;
    if (a.Data3 != b.Data3) return a.Data3 < b.Data3;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return a.Data4[i] < b.Data4[i];
    return false;
  }
};

using CLSID = GUID;
using IID = GUID;

// The registry text form: "{0026C16C-45B0-11D4-9274-00A0C9ACA8C4}",
// upper-case digits, braces included.
std::string TextoGuid(const GUID& guid);

// Reads the registry text form (braces required, digits of either case);
// nothing for any other text.
std::optional<GUID> LeGuid(const std::string& texto);

}  // namespace qmx::com
