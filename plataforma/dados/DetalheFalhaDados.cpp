#include "plataforma/dados/DetalheFalhaDados.h"

namespace qmx::dados {
namespace {
thread_local std::optional<DetalheFalhaDados> t_ultima;
}  // namespace

void RegistraFalhaDados(std::int32_t resultado, const std::string& detalhe) {
  t_ultima = DetalheFalhaDados{resultado, detalhe};
}

std::optional<std::string> CausaDaFalha(std::int32_t resultado) {
  if (!t_ultima || t_ultima->resultado != resultado || t_ultima->detalhe.empty()) return std::nullopt;
  return t_ultima->detalhe;
}

std::optional<DetalheFalhaDados> UltimaFalhaDados() { return t_ultima; }

void LimpaFalhaDados() { t_ultima.reset(); }

}  // namespace qmx::dados
