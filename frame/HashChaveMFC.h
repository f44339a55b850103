#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

// Hash values of the keys of CMapaMFC, computed as the Windows collections do,
// so that a map walks its keys in the same order as there.

// Integer keys: the Park-Miller step on the key taken as a signed 32-bit
// long (Windows' long is 32 bits, so wider keys keep their low 32 bits).
// Division truncates toward zero, as ldiv does.
constexpr std::uint32_t HashInteiroMFC(std::int32_t nChave)
{
    const std::int32_t nQuociente = nChave / 127773;
    const std::int32_t nResto = nChave % 127773;
    std::int32_t nHash = 16807 * nResto - 2836 * nQuociente;
    if (nHash < 0)
        nHash += 2147483647;
    return static_cast<std::uint32_t>(nHash);
}

template <std::integral T>
constexpr std::uint32_t HashChaveMFC(T nChave)
{
    return HashInteiroMFC(static_cast<std::int32_t>(nChave));
}

// Floating-point keys are truncated toward zero to a 32-bit long before
// hashing, so 1.2 and 1.9 land in one bucket while staying distinct keys.
// NaN and values outside the long's range would be undefined in C++; the
// Windows conversion gives the "integer indefinite" 0x80000000 for them, and
// so do we.
template <std::floating_point T>
std::uint32_t HashChaveMFC(T dChave)
{
    const double d = static_cast<double>(dChave);
    if (std::isnan(d) || d >= 2147483648.0 || d <= -2147483649.0)
        return HashInteiroMFC(INT32_MIN);
    return HashInteiroMFC(static_cast<std::int32_t>(d));
}

// Text keys: h = h * 33 + c over an unsigned 32-bit h, each byte taken as a
// signed char (0xE9 adds 0xFFFFFFE9). The text ends at its first NUL, as a
// C string does.
constexpr std::uint32_t HashChaveMFC(std::string_view strChave)
{
    std::uint32_t nHash = 0;
    for (const char c : strChave)
    {
        if (c == '\0')
            break;
        const auto nSinal = static_cast<std::int32_t>(static_cast<signed char>(c));
        nHash = (nHash << 5) + nHash + static_cast<std::uint32_t>(nSinal);
    }
    return nHash;
}

inline std::uint32_t HashChaveMFC(const std::string& strChave)
{
    return HashChaveMFC(std::string_view(strChave));
}

// Key equality of the maps. Floating-point NaN keys are one key among
// themselves (plain == would make every NaN a new, unreachable entry).
template <class T>
bool ChavesIguaisMFC(const T& a, const T& b)
{
    if constexpr (std::floating_point<T>)
    {
        if (std::isnan(a) || std::isnan(b))
            return std::isnan(a) && std::isnan(b);
    }
    return a == b;
}
