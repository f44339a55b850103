#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroMestre.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::dados {

// The point-of-sale master server's operations.
class IZTEC_Mestre {
 public:
  virtual ~IZTEC_Mestre() = default;
  virtual com::HRESULT Le(REG_EC_MESTREPS* registro) = 0;
  // The point-of-sale parameters of a branch (its state code among them).
  virtual com::HRESULT LeFilial(std::uint16_t filial, REG_EC_MESTRE_FILIALPS* registro) = 0;
  // Whether an ECF works stand-alone.
  virtual com::HRESULT LeModoEmissora(std::uint16_t emissora, bool* autonomo) = 0;
  // The integration keys of a module for a date and ECF, in the order written.
  virtual com::HRESULT LeChavesIntegracao(const char* modulo, NumeroDia data, std::uint16_t emissora,
                                          std::vector<REG_EC_CHAVES_INTEGRACAOPS>* chaves) = 0;
  virtual com::HRESULT GravaChaveIntegracao(const REG_EC_CHAVES_INTEGRACAOPS& chave) = 0;
  virtual com::HRESULT ExcluiChavesIntegracao(const char* modulo, NumeroDia data, std::uint16_t emissora) = 0;
};

// Connection to the point-of-sale master data.
class CConexaoMestre : public CConexaoDados, public IZTEC_Mestre {
 public:
  IZTEC_Mestre* GetInterface() { return Inicializada() ? this : nullptr; }

  com::HRESULT Le(REG_EC_MESTREPS* registro) override;
  com::HRESULT LeFilial(std::uint16_t filial, REG_EC_MESTRE_FILIALPS* registro) override;
  com::HRESULT LeModoEmissora(std::uint16_t emissora, bool* autonomo) override;
  com::HRESULT LeChavesIntegracao(const char* modulo, NumeroDia data, std::uint16_t emissora,
                                  std::vector<REG_EC_CHAVES_INTEGRACAOPS>* chaves) override;
  com::HRESULT GravaChaveIntegracao(const REG_EC_CHAVES_INTEGRACAOPS& chave) override;
  com::HRESULT ExcluiChavesIntegracao(const char* modulo, NumeroDia data, std::uint16_t emissora) override;
};

}  // namespace qmx::dados
