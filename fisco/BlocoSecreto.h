#pragma once

namespace qmx {

constexpr int kTamanhoBlocoSecreto = 1158;
// Modulus 128, public exponent 3, private exponent 128, primes 64 + 64, CRT
// exponents 64 + 64, CRT coefficient 64: every value big-endian.
constexpr int kTamanhoChave = 579;

extern const unsigned char kBlocoSecreto[kTamanhoBlocoSecreto];
extern const unsigned short kPosicoesChave[kTamanhoChave];

}  // namespace qmx
