#pragma once

#include <cstdint>
#include <functional>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroEstoque.h"
#include "plataforma/dados/RegistroIntegracao.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::dados {

// The stock server's positions and inventories.
class IZTES_Movimento {
 public:
  virtual ~IZTES_Movimento() = default;
  // Each product's latest stock position in the branch on or before the
  // date, by product code; products without one are not walked.
  virtual com::HRESULT PercorrePosicoes(std::uint16_t filial, NumeroDia data,
                                        const std::function<bool(const REG_ES_POSICAOPS&)>& porPosicao) = 0;
  // The inventory balances of the branch at the date, by product code.
  virtual com::HRESULT PercorreSaldosInventario(
      std::uint16_t filial, NumeroDia data,
      const std::function<bool(const REG_ES_SALDOS_INVENTARIOPS&)>& porSaldo) = 0;

  // Prepares the movements of a cupom before any is written: holds the
  // cupom (document key, date, ECF and COO) against a second writer until
  // the caller's transaction ends.
  virtual com::HRESULT PreparaCupom(const char* documento, NumeroDia data, std::uint16_t emissora,
                                    std::uint32_t coo) = 0;
  // What a storage place holds of a product at the end of a day: the
  // branch's latest position on or before the day plus the place's
  // movements after that position up to the day.
  virtual com::HRESULT LeSaldoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                    NumeroDia data, CY* saldo) = 0;
  // Takes a place's running cost of a product (quantity and total cost)
  // and holds it against every other writer until the caller's transaction
  // ends: a second terminal that wants the same place and product waits
  // here, then sees what the first one wrote. Record not found when the
  // place has no running cost yet.
  virtual com::HRESULT TravaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                       CY* quantidade, CY* valor) = 0;
  // Starts a place's running cost of a product with a quantity and its
  // value; nothing when another writer started it first.
  virtual com::HRESULT IniciaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                        CY quantidade, CY valor) = 0;
  // Writes a movement; its Id comes back filled. Its quantity and value
  // (an exit's value taken away) go into the place's running cost, when it
  // has one.
  virtual com::HRESULT GravaMovimento(REG_ES_MOVIMENTOPS* movimento) = 0;
};

class CConexaoMovimento : public CConexaoDados, public IZTES_Movimento {
 public:
  IZTES_Movimento* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT PercorrePosicoes(std::uint16_t filial, NumeroDia data,
                                const std::function<bool(const REG_ES_POSICAOPS&)>& porPosicao) override;
  com::HRESULT PercorreSaldosInventario(
      std::uint16_t filial, NumeroDia data,
      const std::function<bool(const REG_ES_SALDOS_INVENTARIOPS&)>& porSaldo) override;
  com::HRESULT PreparaCupom(const char* documento, NumeroDia data, std::uint16_t emissora,
                            std::uint32_t coo) override;
  com::HRESULT LeSaldoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto, NumeroDia data,
                            CY* saldo) override;
  com::HRESULT TravaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto, CY* quantidade,
                               CY* valor) override;
  com::HRESULT IniciaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto, CY quantidade,
                                CY valor) override;
  com::HRESULT GravaMovimento(REG_ES_MOVIMENTOPS* movimento) override;
};

}  // namespace qmx::dados
