#pragma once

#include <initializer_list>
#include <string>

namespace qmx::testes {

// One run of the built qmx program.
struct Execucao {
  int codigo = -1;
  std::string saida;  // stdout and stderr together
};

// Runs the built program like an operator at a UTF-8 terminal; the
// arguments go through the shell as written.
Execucao Qmx(const std::string& argumentos);

// The run ended with `codigo` and its output holds each of `trechos`; a
// failure shows the whole output.
void ConfereSaida(const Execucao& execucao, int codigo, std::initializer_list<std::string> trechos);

}  // namespace qmx::testes
