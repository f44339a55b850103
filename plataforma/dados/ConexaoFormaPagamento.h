#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx::dados {

// The means of payment server.
class IZTDF_FormaPagamento {
 public:
  virtual ~IZTDF_FormaPagamento() = default;
  virtual com::HRESULT Le(std::uint16_t codigo, REG_FORMA_PAGAMENTOPS* registro) = 0;
  // Every means, by code.
  virtual com::HRESULT Lista(std::vector<REG_FORMA_PAGAMENTOPS>* formas) = 0;
};

class CConexaoFormaPagamento : public CConexaoDados, public IZTDF_FormaPagamento {
 public:
  IZTDF_FormaPagamento* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint16_t codigo, REG_FORMA_PAGAMENTOPS* registro) override;
  com::HRESULT Lista(std::vector<REG_FORMA_PAGAMENTOPS>* formas) override;
};

}  // namespace qmx::dados
