#pragma once

#include <cstdint>
#include <functional>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroEstoque.h"

namespace qmx::dados {

// The stock server's positions and inventories.
class IZTES_Movimento {
 public:
  virtual ~IZTES_Movimento() = default;
  // Each product's latest stock position in the branch on or before the
  // date, by product code; products without one are not walked.
  virtual com::HRESULT PercorrePosicoes(std::uint16_t filial, std::uint16_t data,
                                        const std::function<bool(const REG_ES_POSICAOPS&)>& porPosicao) = 0;
  // The inventory balances of the branch at the date, by product code.
  virtual com::HRESULT PercorreSaldosInventario(
      std::uint16_t filial, std::uint16_t data,
      const std::function<bool(const REG_ES_SALDOS_INVENTARIOPS&)>& porSaldo) = 0;
};

class CConexaoMovimento : public CConexaoDados, public IZTES_Movimento {
 public:
  IZTES_Movimento* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT PercorrePosicoes(std::uint16_t filial, std::uint16_t data,
                                const std::function<bool(const REG_ES_POSICAOPS&)>& porPosicao) override;
  com::HRESULT PercorreSaldosInventario(
      std::uint16_t filial, std::uint16_t data,
      const std::function<bool(const REG_ES_SALDOS_INVENTARIOPS&)>& porSaldo) override;
};

}  // namespace qmx::dados
