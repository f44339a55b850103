#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroCadastros.h"

namespace qmx::dados {

// The municipalities server's operations.
class IZTDF_Municipio {
 public:
  virtual ~IZTDF_Municipio() = default;
  virtual com::HRESULT Le(std::uint16_t numero, REG_MUNICIPIO_PS* registro) = 0;
};

// Connection to the municipalities, with their IBGE codes.
class CConexaoMunicipio : public CConexaoDados, public IZTDF_Municipio {
 public:
  IZTDF_Municipio* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint16_t numero, REG_MUNICIPIO_PS* registro) override;
};

}  // namespace qmx::dados
