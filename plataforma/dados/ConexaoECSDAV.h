#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroDAV.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::dados {

// The DAV server.
class IZTEC_DAV {
 public:
  virtual ~IZTEC_DAV() = default;
  // The DAVs of an ECF dated in the period (both ends included), in the
  // order they were recorded, each with its items by item number; the
  // callback answers false to stop.
  virtual com::HRESULT PercorreDAVs(
      std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
      const std::function<bool(const REG_DAVPS&, const std::vector<REG_DAV_ITEMPS>&)>& porDAV) = 0;
};

class CConexaoECSDAV : public CConexaoDados, public IZTEC_DAV {
 public:
  IZTEC_DAV* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT PercorreDAVs(
      std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
      const std::function<bool(const REG_DAVPS&, const std::vector<REG_DAV_ITEMPS>&)>& porDAV) override;
};

}  // namespace qmx::dados
