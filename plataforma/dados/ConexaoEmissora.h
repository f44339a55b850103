#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroEmissora.h"

namespace qmx::dados {

// The ECF server's operations.
class IZTDF_Emissora {
 public:
  virtual ~IZTDF_Emissora() = default;
  virtual com::HRESULT Le(std::uint16_t numero, REG_EMISSORPS* registro) = 0;
  // The entries of a rate table, in position order.
  virtual com::HRESULT LeAliquotas(std::int32_t tabela, std::vector<REG_EMISSOR_ALIQUOTA>* aliquotas) = 0;
  // Every ECF of the company, in number order.
  virtual com::HRESULT Lista(std::uint16_t* quantidade, std::vector<REG_EMISSORPS>* emissoras) = 0;
  // The ECFs of one branch, in number order.
  virtual com::HRESULT ListaDaFilial(std::uint16_t filial, std::uint16_t* quantidade,
                                     std::vector<REG_EMISSORPS>* emissoras) = 0;
};

// Connection to the ECFs of a company and their rate tables.
class CConexaoEmissora : public CConexaoDados, public IZTDF_Emissora {
 public:
  IZTDF_Emissora* GetInterface() { return Inicializada() ? this : nullptr; }

  com::HRESULT Le(std::uint16_t numero, REG_EMISSORPS* registro) override;
  com::HRESULT LeAliquotas(std::int32_t tabela, std::vector<REG_EMISSOR_ALIQUOTA>* aliquotas) override;
  com::HRESULT Lista(std::uint16_t* quantidade, std::vector<REG_EMISSORPS>* emissoras) override;
  com::HRESULT ListaDaFilial(std::uint16_t filial, std::uint16_t* quantidade,
                             std::vector<REG_EMISSORPS>* emissoras) override;
};

}  // namespace qmx::dados
