#pragma once

#include "fisco/BlocoSecreto.h"

namespace qmx {

// The signing key's parts, in the order and sizes the EAD operation takes
// them (n 128, e 3, d 128, p 64, q 64, d mod p-1 64, d mod q-1 64, q^-1 mod
// p 64; big-endian). The library's own key is gathered from its secret
// block; a build for a developer's own key (QMX_CHAVE_EAD) takes it from a
// source generated from that key instead. The caller wipes the bytes.
void ChaveAssinatura(unsigned char (&bytes)[kTamanhoChave]);

}  // namespace qmx
