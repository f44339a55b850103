#pragma once

#include <string>

namespace qmx::cli {

// The published half of the library's signing key (PEM), carried by the
// program so that anyone can check a file's EAD line.
extern const char* const kChavePublicaPEM;

enum class ResultadoVerificacao { Valida, Invalida, SemLinhaEAD, Ilegivel };

// Checks the EAD line that ends a file: the signature, opened with the
// public key, must give the block of the MD5 digest of everything before it.
ResultadoVerificacao VerificaArquivo(const std::string& caminhoNativo);

}  // namespace qmx::cli
