#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx::dados {

// The customers and suppliers server.
class IZTDF_CFRT {
 public:
  virtual ~IZTDF_CFRT() = default;
  virtual com::HRESULT Le(std::uint32_t codigo, ZTCFRT* registro) = 0;
};

// Connection to the customers and suppliers. CConexaoCFRTGrupo and
// CConexaoCliente are the same server under the names their callers use.
class CConexaoCFRT : public CConexaoDados, public IZTDF_CFRT {
 public:
  IZTDF_CFRT* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint32_t codigo, ZTCFRT* registro) override;
};

class CConexaoCFRTGrupo : public CConexaoCFRT {};
class CConexaoCliente : public CConexaoCFRT {};

}  // namespace qmx::dados
