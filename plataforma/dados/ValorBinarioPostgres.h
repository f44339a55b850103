#pragma once

#include <cstdint>
#include <string>

namespace qmx::dados::postgres {

// A column's value as PostgreSQL sends it in binary (a binary cursor's
// rows), read as the text result would be: Inteiro as strtoll reads the
// text (a fraction cut off, toward zero), Texto as the server writes it.
// The type is the column's type oid; integers, booleans, numerics, floats
// and texts are known, and any other type is a CErroDados.
bool TipoDeTexto(unsigned tipo);
std::int64_t InteiroBinario(unsigned tipo, const char* valor, int tamanho);
std::string TextoBinario(unsigned tipo, const char* valor, int tamanho);

}  // namespace qmx::dados::postgres
