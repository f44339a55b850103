#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx::dados {

// The natures of operation server.
class IZTDF_Natureza {
 public:
  virtual ~IZTDF_Natureza() = default;
  virtual com::HRESULT Le(std::uint16_t codigo, REG_NATUREZAPS* registro) = 0;
};

class CConexaoNatureza : public CConexaoDados, public IZTDF_Natureza {
 public:
  IZTDF_Natureza* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint16_t codigo, REG_NATUREZAPS* registro) override;
};

}  // namespace qmx::dados
