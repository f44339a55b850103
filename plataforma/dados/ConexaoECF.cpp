#include "plataforma/dados/ConexaoECF.h"

namespace qmx::dados {

com::HRESULT CConexaoECF::GetEhFilialHabilitada_ECF(std::uint16_t filial, std::int32_t* resposta) {
  if (!resposta) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta("SELECT habilitada_ecf FROM filial WHERE numero = ?", {filial});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    *resposta = linhas.front().Inteiro(0) != 0 ? 0 : 1;
    return com::S_OK;
  });
}

}  // namespace qmx::dados
