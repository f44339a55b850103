#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qmx::cripto {

// The public half of an RSA key, big-endian, without leading zero bytes.
struct ChavePublicaRSA {
  std::basic_string<unsigned char> modulo, expoente;
};

// Reads a "-----BEGIN PUBLIC KEY-----" PEM text (an X.509 SubjectPublicKeyInfo
// holding an RSA key). Nothing when the text is not such a key.
std::optional<ChavePublicaRSA> LeChavePublicaPEM(std::string_view pem);

}  // namespace qmx::cripto
