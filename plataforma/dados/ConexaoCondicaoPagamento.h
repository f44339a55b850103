#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx::dados {

// The payment conditions server.
class IZTDF_CondicaoPagamento {
 public:
  virtual ~IZTDF_CondicaoPagamento() = default;
  virtual com::HRESULT Le(std::uint16_t codigo, REG_CONDICAO_PAGAMENTOPS* registro) = 0;
  virtual com::HRESULT Lista(std::vector<REG_CONDICAO_PAGAMENTOPS>* condicoes) = 0;
};

class CConexaoCondicaoPagamento : public CConexaoDados, public IZTDF_CondicaoPagamento {
 public:
  IZTDF_CondicaoPagamento* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint16_t codigo, REG_CONDICAO_PAGAMENTOPS* registro) override;
  com::HRESULT Lista(std::vector<REG_CONDICAO_PAGAMENTOPS>* condicoes) override;
};

}  // namespace qmx::dados
