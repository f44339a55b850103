#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qmx::cripto {

// base^expoente mod modulo for big numbers given as big-endian bytes, with
// Montgomery multiplication. The modulus must be odd (an RSA modulus is) and
// the base below it. The result has the modulus's length in bytes.
// Where the system's RSA refuses the raw operation (Wine's CNG does), the
// platform layer does it with this.
std::optional<std::vector<unsigned char>> ExponenciacaoModular(std::basic_string_view<unsigned char> base,
                                                               std::basic_string_view<unsigned char> expoente,
                                                               std::basic_string_view<unsigned char> modulo);

}  // namespace qmx::cripto
