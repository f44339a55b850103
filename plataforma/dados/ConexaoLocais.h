#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroCatalogo.h"

namespace qmx::dados {

// The storage places of the stock.
class IZTES_Armazenagem {
 public:
  virtual ~IZTES_Armazenagem() = default;
  virtual com::HRESULT Le(std::uint16_t codigo, REG_LOCAL_ESTOQUEPS* registro) = 0;
};

class CConexaoLocais : public CConexaoDados, public IZTES_Armazenagem {
 public:
  IZTES_Armazenagem* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint16_t codigo, REG_LOCAL_ESTOQUEPS* registro) override;
  // Several places at once, by code; a code not found is absent.
  com::HRESULT LeLocais(const std::vector<std::uint16_t>& codigos, std::map<std::uint16_t, REG_LOCAL_ESTOQUEPS>* locais);
};

}  // namespace qmx::dados
