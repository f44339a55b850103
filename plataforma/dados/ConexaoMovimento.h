#pragma once

#include <cstdint>
#include <compare>
#include <functional>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroEstoque.h"
#include "plataforma/dados/RegistroIntegracao.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::dados {

// A storage place and a product, ordered by place and then product.
struct LocalProduto {
  std::uint16_t local = 0;
  std::uint32_t produto = 0;
  auto operator<=>(const LocalProduto&) const = default;
};

// A place's running cost of a product: the quantity it holds and their
// total cost.
struct CustoDoLocal {
  LocalProduto chave;
  CY quantidade{};
  CY valor{};
};

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
  // What each storage place holds of its product on a day, as the day's
  // cupons are integrated: the branch's latest position of the product
  // before the day (a position counts what the day ended with) plus the
  // place's movements after that position, the day's own written so far
  // included. One balance per place and product given, in their order.
  virtual com::HRESULT LeSaldosLocais(std::uint16_t filial, const std::vector<LocalProduto>& chaves, NumeroDia data,
                                      std::vector<CY>* saldos) = 0;
  // Takes the running costs (quantity and total cost) of the places'
  // products and holds them against every other writer until the caller's
  // transaction ends: a second terminal that wants one of them waits, then
  // sees what the first one wrote. The places and products are given in
  // ascending order and locked in it, so two writers never wait on each
  // other. Answers those that exist, in the same order; a place with no
  // running cost of a product yet is left out.
  virtual com::HRESULT TravaCustosLocais(std::uint16_t filial, const std::vector<LocalProduto>& chaves,
                                         std::vector<CustoDoLocal>* custos) = 0;
  // Starts a place's running cost of a product with a quantity and its
  // value; nothing when another writer started it first.
  virtual com::HRESULT IniciaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                        CY quantidade, CY valor) = 0;
  // Sets a place's running cost of a product to a quantity and its value
  // (the place's balance, when entries the movements never saw changed it).
  virtual com::HRESULT AjustaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                        CY quantidade, CY valor) = 0;
  // Writes a movement; its Id comes back filled. Its quantity and value
  // (an exit's value taken away, a return's given back) go into the place's
  // running cost, when it has one, which then stands at the movement's day.
  virtual com::HRESULT GravaMovimento(REG_ES_MOVIMENTOPS* movimento) = 0;
  // The exits of a cupom's items that no movement has returned yet, by
  // item and then as written.
  virtual com::HRESULT LeSaidasDoCupom(std::uint32_t cupom, std::vector<REG_ES_MOVIMENTOPS>* saidas) = 0;
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
  com::HRESULT LeSaldosLocais(std::uint16_t filial, const std::vector<LocalProduto>& chaves, NumeroDia data,
                              std::vector<CY>* saldos) override;
  com::HRESULT TravaCustosLocais(std::uint16_t filial, const std::vector<LocalProduto>& chaves,
                                 std::vector<CustoDoLocal>* custos) override;
  com::HRESULT IniciaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto, CY quantidade,
                                CY valor) override;
  com::HRESULT AjustaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto, CY quantidade,
                                CY valor) override;
  com::HRESULT GravaMovimento(REG_ES_MOVIMENTOPS* movimento) override;
  com::HRESULT LeSaidasDoCupom(std::uint32_t cupom, std::vector<REG_ES_MOVIMENTOPS>* saidas) override;

  // For a writer that holds places' running costs locked and follows them
  // in memory (the stock pass's group of cupons): the movement alone, its
  // Id filled, the running cost untouched; then each running cost once, as
  // the movements left it, standing at the last one's day. A row written
  // again and again in one transaction costs the server more each time
  // (every version stays until the commit).
  com::HRESULT GravaSoMovimento(REG_ES_MOVIMENTOPS* movimento);
  com::HRESULT FechaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto, CY quantidade,
                               CY valor, NumeroDia data);
};

}  // namespace qmx::dados
