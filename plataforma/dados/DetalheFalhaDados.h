#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qmx::dados {

// What the last failed data-server call of this thread said about its
// cause (the database file, the server's own words), kept the way a COM
// server leaves its error information for the caller: a result code
// alone does not tell the operator what failed or where.
struct DetalheFalhaDados {
  std::int32_t resultado = 0;
  std::string detalhe;
};

// Records the cause of a failure just returned as `resultado`.
void RegistraFalhaDados(std::int32_t resultado, const std::string& detalhe);
// The cause recorded for `resultado`, when the last failure of this thread
// was that one.
std::optional<std::string> CausaDaFalha(std::int32_t resultado);
// The last failure of this thread, with its cause.
std::optional<DetalheFalhaDados> UltimaFalhaDados();
// Forgets the recorded cause.
void LimpaFalhaDados();

}  // namespace qmx::dados
