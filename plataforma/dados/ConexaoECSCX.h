#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::dados {

// A cupom as the cash server's read operation gives it: the record with its
// items, payments and installments.
struct CupomCompleto {
  REG_EC_CXPS Cupom;
  std::vector<REG_EC_CX_CIPS> Itens;
  std::vector<REG_EC_CX_PAGAMENTOPS> Pagamentos;
  std::vector<REG_EC_CX_PARCELAPS> Parcelas;
};

// Called once per cupom of a walk with its items (by item number) and
// payments (by sequence); answers false to stop the walk. The vectors are
// reused for the next cupom.
using PorCupom = std::function<bool(const REG_EC_CXPS&, const std::vector<REG_EC_CX_CIPS>&,
                                    const std::vector<REG_EC_CX_PAGAMENTOPS>&)>;

// An item of a branch's day as the stock file reads it: what it sold and
// the marks that say whether it left the store, with the types of the full
// records (ItemCupom, Cupom), so that both give the same answer.
struct ItemVendido {
  std::uint8_t cupomCancelado;
  std::uint8_t status;  // the cupom's
  std::uint8_t cancelado;
  std::uint8_t servico;
  std::uint32_t codigo;
  CY quantidade;
};

// A payment of a branch's cupom as the payment reports read it, with the
// cupom's day and marks.
struct PagamentoCupom {
  NumeroDia data;
  std::uint8_t cancelado;  // the cupom's
  std::uint8_t status;     // the cupom's
  std::uint16_t forma;
  CY valor;
};

// The ECF cash data server.
class IZTEC_Caixa {
 public:
  virtual ~IZTEC_Caixa() = default;
  // The cash documents of one ECF (cupons and consumer notas), day by day
  // from the first date to the last, each day in sequence-key order. Only
  // one day is held in memory at a time.
  virtual com::HRESULT PercorreCupons(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                      const PorCupom& porCupom) = 0;
  // The same walk as the ECF's movement file reads it: each cupom's key,
  // day, COO, CCF, status, cancellation, customer and total alone, the
  // items without their NCM, unit and stock marks, the payments without
  // their holder's texts (the fields not read stay empty).
  virtual com::HRESULT PercorreMovimento(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                         const PorCupom& porCupom) = 0;
  // The same walk without the payments (the callback's payment list stays
  // empty): what the fiscal books and the stock read, which never look at
  // how a cupom was paid.
  virtual com::HRESULT PercorreItensCupons(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                           const PorCupom& porCupom) = 0;
  // The same walk as the tax files' ECF lines read it (SPED, Sintegra):
  // the cupons as PercorreMovimento reads them, the items without their
  // description, NCM, unit and stock marks (those lines take the
  // catalogue's), no payments.
  virtual com::HRESULT PercorreItensTributados(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                               const PorCupom& porCupom) = 0;
  // The items of a branch's day, every ECF, with only what a stock count
  // needs (their order is the engine's). Answer false to stop.
  virtual com::HRESULT PercorreItensVendidos(std::uint16_t filial, NumeroDia data,
                                             const std::function<bool(const ItemVendido&)>& porItem) = 0;
  // The payments of a branch's cupons in a period, every ECF, with only
  // what a sum of the means of payment needs (in the engine's order).
  // Answer false to stop.
  virtual com::HRESULT PercorrePagamentosFilial(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal,
                                                const std::function<bool(const PagamentoCupom&)>& porPagamento) = 0;
  // Only the consumer notas (status 4) of a branch, day by day, by ECF and
  // sequence key, with their items and without their payments.
  virtual com::HRESULT PercorreNotasConsumidor(std::uint16_t filial, NumeroDia dataInicial,
                                               NumeroDia dataFinal, const PorCupom& porNota) = 0;
  // The search operation: the keys of the cupons with the key's number,
  // date and ECF (number 0: every cupom of that date and ECF), by sequence.
  virtual com::HRESULT Busca(const REG_EC_CX_CHAVEPS& chave, std::vector<std::uint32_t>* cupons) = 0;
  // The read operation: the cupons found by Busca, whole.
  virtual com::HRESULT Le(const std::vector<std::uint32_t>& cupons, std::vector<CupomCompleto>* registros) = 0;
  // Writes the items' stock marks back (the cupom as the integration
  // leaves it).
  virtual com::HRESULT GravaMarcasEstoque(std::uint32_t cupom, const std::vector<REG_EC_CX_CIPS>& itens) = 0;
  // The items' stock marks as the data hold them now, by item number.
  virtual com::HRESULT LeMarcasEstoque(std::uint32_t cupom, std::map<std::uint16_t, std::uint8_t>* marcas) = 0;
  // The Z reduction of an ECF's movement day with its rate totalizers (by
  // position) and non-fiscal totalizers (by code); "record not found" when
  // the day has none.
  virtual com::HRESULT LeReducaoZ(std::uint16_t emissora, NumeroDia data, REG_REDUCAO_ZPS* reducao,
                                  std::vector<REG_REDUCAO_Z_ALIQUOTAPS>* aliquotas,
                                  std::vector<REG_TOTALIZADOR_NAO_FISCALPS>* naoFiscais) = 0;
  // The Z reductions of an ECF whose movement date (or, porCRZ, whose CRZ)
  // lies in the range, by CRZ.
  virtual com::HRESULT ListaReducoesZ(std::uint16_t emissora, bool porCRZ, std::uint32_t inicio, std::uint32_t fim,
                                      std::vector<REG_REDUCAO_ZPS>* reducoes) = 0;
  // Among the ECF's documents (cupons, Z reductions, logged documents)
  // whose COO lies in the range: the first and last COO and the first and
  // last date. All zero when there is none.
  virtual com::HRESULT FaixaCOO(std::uint16_t emissora, std::uint32_t cooInicial, std::uint32_t cooFinal,
                                std::uint32_t* primeiro, std::uint32_t* ultimo, NumeroDia* dataInicial,
                                NumeroDia* dataFinal) = 0;
  // The ECF's document log in the period, by date and COO.
  virtual com::HRESULT PercorreDocumentos(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                          const std::function<bool(const REG_DOCUMENTO_ECFPS&)>& porDocumento) = 0;
};

class CConexaoECSCX : public CConexaoDados, public IZTEC_Caixa {
 public:
  IZTEC_Caixa* GetInterface() { return Inicializada() ? this : nullptr; }

  com::HRESULT PercorreCupons(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                              const PorCupom& porCupom) override;
  com::HRESULT PercorreMovimento(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                 const PorCupom& porCupom) override;
  com::HRESULT PercorreItensCupons(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                   const PorCupom& porCupom) override;
  com::HRESULT PercorreItensTributados(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                       const PorCupom& porCupom) override;
  com::HRESULT PercorreItensVendidos(std::uint16_t filial, NumeroDia data,
                                     const std::function<bool(const ItemVendido&)>& porItem) override;
  com::HRESULT PercorreNotasConsumidor(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal,
                                       const PorCupom& porNota) override;
  com::HRESULT PercorrePagamentosFilial(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal,
                                        const std::function<bool(const PagamentoCupom&)>& porPagamento) override;
  com::HRESULT Busca(const REG_EC_CX_CHAVEPS& chave, std::vector<std::uint32_t>* cupons) override;
  com::HRESULT Le(const std::vector<std::uint32_t>& cupons, std::vector<CupomCompleto>* registros) override;
  com::HRESULT GravaMarcasEstoque(std::uint32_t cupom, const std::vector<REG_EC_CX_CIPS>& itens) override;
  com::HRESULT LeMarcasEstoque(std::uint32_t cupom, std::map<std::uint16_t, std::uint8_t>* marcas) override;
  com::HRESULT LeReducaoZ(std::uint16_t emissora, NumeroDia data, REG_REDUCAO_ZPS* reducao,
                          std::vector<REG_REDUCAO_Z_ALIQUOTAPS>* aliquotas,
                          std::vector<REG_TOTALIZADOR_NAO_FISCALPS>* naoFiscais) override;
  com::HRESULT PercorreDocumentos(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                  const std::function<bool(const REG_DOCUMENTO_ECFPS&)>& porDocumento) override;
  com::HRESULT ListaReducoesZ(std::uint16_t emissora, bool porCRZ, std::uint32_t inicio, std::uint32_t fim,
                              std::vector<REG_REDUCAO_ZPS>* reducoes) override;
  com::HRESULT FaixaCOO(std::uint16_t emissora, std::uint32_t cooInicial, std::uint32_t cooFinal,
                        std::uint32_t* primeiro, std::uint32_t* ultimo, NumeroDia* dataInicial,
                        NumeroDia* dataFinal) override;

 private:
  com::HRESULT Percorre(const struct ConsultasDiaCaixa& consultas, std::uint16_t chave, NumeroDia dataInicial,
                        NumeroDia dataFinal, const PorCupom& porCupom);
};

}  // namespace qmx::dados
