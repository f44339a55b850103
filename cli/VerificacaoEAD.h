#pragma once

#include <string>
#include <string_view>

#include "plataforma/cripto/Cripto.h"

namespace qmx::cli {

// The published half of the library's signing key (PEM), carried by the
// program so that anyone can check a file's EAD line.
extern const char* const kChavePublicaPEM;

enum class ResultadoVerificacao { Valida, Invalida, SemLinhaEAD, Ilegivel };

// Checks the EAD line that ends a file: the signature, opened with the
// public key, must give the block of the MD5 digest of everything before it.
ResultadoVerificacao VerificaArquivo(const std::string& caminhoNativo);

// The same check of an EAD line ("EAD" and 256 hexadecimal digits) against
// the digest of what it signs, with a public key in PEM (the library's
// when empty); Ilegivel when the key is not one.
ResultadoVerificacao VerificaAssinatura(const cripto::DigestMD5& digest, std::string_view linhaEAD,
                                        std::string_view chavePEM = {});

}  // namespace qmx::cli
