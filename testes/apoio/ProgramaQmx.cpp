#include "apoio/ProgramaQmx.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

namespace qmx::testes {

Execucao Qmx(const std::string& argumentos) {
  const std::string comando = std::string("'") + QMX_PROGRAMA + "' " + argumentos + " 2>&1";
  Execucao execucao;
  FILE* processo = popen(comando.c_str(), "r");
  if (!processo) return execucao;
  std::array<char, 4096> bloco{};
  size_t lidos = 0;
  while ((lidos = fread(bloco.data(), 1, bloco.size(), processo)) > 0) execucao.saida.append(bloco.data(), lidos);
  const int estado = pclose(processo);
#if defined(_WIN32)
  execucao.codigo = estado;  // the program's exit code itself
#else
  execucao.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
#endif
  return execucao;
}

void ConfereSaida(const Execucao& execucao, int codigo, std::initializer_list<std::string> trechos) {
  EXPECT_EQ(execucao.codigo, codigo) << execucao.saida;
  for (const auto& trecho : trechos)
    EXPECT_NE(execucao.saida.find(trecho), std::string::npos) << trecho << "\n" << execucao.saida;
}

}  // namespace qmx::testes
