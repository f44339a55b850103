#pragma once

#include <cstdint>

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
};

class CConexaoContasReceber : public CConexaoDados, public IZTFN_ContasReceber {
 public:
  IZTFN_ContasReceber* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT GravaTitulo(const REG_TITULO_RECEBERPS& titulo) override;
  com::HRESULT ExcluiTitulos(std::int32_t numero) override;
};

}  // namespace qmx::dados
