#pragma once

#include <string>
#include <vector>

namespace qmx::testes {

// The lines of a text whose lines end in "\r\n" (a last line without it is
// left out).
inline std::vector<std::string> LinhasCRLF(const std::string& texto) {
  std::vector<std::string> linhas;
  size_t inicio = 0, fim;
  while ((fim = texto.find("\r\n", inicio)) != std::string::npos) {
    linhas.push_back(texto.substr(inicio, fim - inicio));
    inicio = fim + 2;
  }
  return linhas;
}

}  // namespace qmx::testes
