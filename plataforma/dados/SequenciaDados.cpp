#include "plataforma/dados/SequenciaDados.h"

#include <string>

namespace qmx::dados {

std::int64_t ProximoNumero(CSessaoDados& sessao, const char* contador) {
  const auto linhas =
      sessao.Consulta("UPDATE qmx_sequencia SET valor = valor + 1 WHERE nome = ? RETURNING valor", {contador});
  if (linhas.empty()) throw CErroDados(com::E_FAIL, std::string("contador inexistente: ") + contador);
  return linhas.front().Inteiro(0);
}

}  // namespace qmx::dados
