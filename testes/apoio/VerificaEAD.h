#pragma once

#include <string>

namespace qmx::testes {

// Opens a file's EAD signature with the published key through OpenSSL's
// command line only, and tells whether it holds the block of the MD5 digest
// of everything before the EAD line.
bool AssinaturaConfereNaLinhaDeComando(const std::string& conteudo);

// The block the signature opens to (128 bytes), or empty when OpenSSL could
// not open it.
std::string BlocoDaAssinatura(const std::string& conteudo);

}  // namespace qmx::testes
