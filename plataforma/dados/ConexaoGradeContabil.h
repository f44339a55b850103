#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx::dados {

// The accounting grids of the integration server.
class IZTDF_Integracao {
 public:
  virtual ~IZTDF_Integracao() = default;
  virtual com::HRESULT LeGrade(std::uint16_t codigo, REG_GRADE_CONTABILPS* registro) = 0;
};

class CConexaoGradeContabil : public CConexaoDados, public IZTDF_Integracao {
 public:
  IZTDF_Integracao* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT LeGrade(std::uint16_t codigo, REG_GRADE_CONTABILPS* registro) override;
};

}  // namespace qmx::dados
