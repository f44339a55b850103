#pragma once

#include <cstdio>
#include <cstring>
#include <string>

// Small helpers of the integration for the fixed character fields of the
// servers' records and for the log's printf-style texts.
namespace qmx::campos {

template <class... Valores>
std::string Formata(const char* formato, Valores... valores) {
  char texto[512];
  std::snprintf(texto, sizeof texto, formato, valores...);
  return texto;
}

// A zero-terminated field as text (a full field without terminator too).
template <std::size_t N>
std::string Texto(const char (&campo)[N]) {
  return std::string(campo, strnlen(campo, N));
}

// Copies a text into a field, cut to fit, always terminated.
template <std::size_t N>
void Copia(char (&campo)[N], const std::string& texto) {
  std::snprintf(campo, N, "%s", texto.c_str());
}

}  // namespace qmx::campos
