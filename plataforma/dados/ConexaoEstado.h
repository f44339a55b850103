#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroCadastros.h"

namespace qmx::dados {

// The states server's operations.
class IZTDF_Estado {
 public:
  virtual ~IZTDF_Estado() = default;
  virtual com::HRESULT Le(std::uint16_t codigo, REG_ESTADOPS* registro) = 0;
  // By the two-letter abbreviation, in any letter case.
  virtual com::HRESULT LePorSigla(const char* sigla, REG_ESTADOPS* registro) = 0;
};

// Connection to the states (unidades federadas).
class CConexaoEstado : public CConexaoDados, public IZTDF_Estado {
 public:
  IZTDF_Estado* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint16_t codigo, REG_ESTADOPS* registro) override;
  com::HRESULT LePorSigla(const char* sigla, REG_ESTADOPS* registro) override;
};

}  // namespace qmx::dados
