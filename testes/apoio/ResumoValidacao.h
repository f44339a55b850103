#pragma once

#include <string>

#include "arquivos/ValidacaoArquivo.h"

namespace qmx::testes {

// The rules a validation found, a line each (severity, register, rule,
// message, times), for a failing test's message.
inline std::string ResumoValidacao(const validacao::Validacao& v) {
  std::string s;
  for (const auto& r : v.regras)
    s += std::to_string(static_cast<int>(r.gravidade)) + " " + r.registro + " [" + r.regra + "] " + r.mensagem + " x" +
         std::to_string(r.vezes) + "\n";
  return s;
}

}  // namespace qmx::testes
