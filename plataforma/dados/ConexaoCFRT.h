#pragma once

#include <cstdint>
#include <map>
#include <vector>

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
  // The registers of many codes, read together, keyed by code; a code the
  // register lacks is simply absent.
  com::HRESULT LeCadastros(const std::vector<std::uint32_t>& codigos, std::map<std::uint32_t, ZTCFRT>* registros);
};

class CConexaoCFRTGrupo : public CConexaoCFRT {};
class CConexaoCliente : public CConexaoCFRT {};

}  // namespace qmx::dados
