#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoDados.h"

namespace qmx::dados {

// Connection to the ECF control of a company: which branches may use ECFs
// when ECFs are controlled per branch.
class CConexaoECF : public CConexaoDados {
 public:
  // Answers 0 when the branch is enabled for ECF use and 1 when it is not.
  // An unknown branch is QMX_E_REGISTRO_INEXISTENTE.
  com::HRESULT GetEhFilialHabilitada_ECF(std::uint16_t filial, std::int32_t* resposta);
};

}  // namespace qmx::dados
