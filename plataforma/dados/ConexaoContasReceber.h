#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroIntegracao.h"

namespace qmx::dados {

// The receivables of the financial module, as the financial integration
// writes and removes them.
class IZTFN_ContasReceber {
 public:
  virtual ~IZTFN_ContasReceber() = default;
  virtual com::HRESULT GravaTitulo(const REG_TITULO_RECEBERPS& titulo) = 0;
  // Removes the receivables written by an integration (its number, COD).
  virtual com::HRESULT ExcluiTitulos(std::int32_t numero) = 0;
  // The receivables an integration wrote, in the order it wrote them.
  virtual com::HRESULT ListaTitulos(std::int32_t numero, std::vector<REG_TITULO_RECEBERPS>* titulos) = 0;
};

class CConexaoContasReceber : public CConexaoDados, public IZTFN_ContasReceber {
 public:
  IZTFN_ContasReceber* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT GravaTitulo(const REG_TITULO_RECEBERPS& titulo) override;
  com::HRESULT ExcluiTitulos(std::int32_t numero) override;
  com::HRESULT ListaTitulos(std::int32_t numero, std::vector<REG_TITULO_RECEBERPS>* titulos) override;
};

}  // namespace qmx::dados
