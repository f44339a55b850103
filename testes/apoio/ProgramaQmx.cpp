#include "apoio/ProgramaQmx.h"

#include <sys/wait.h>

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
  execucao.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
  return execucao;
}

}  // namespace qmx::testes
