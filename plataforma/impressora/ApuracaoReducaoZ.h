#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::impressora {

// A Z reduction with its totalizers, as the printer records it.
struct ReducaoZApurada {
  REG_REDUCAO_ZPS reducao;
  std::vector<REG_REDUCAO_Z_ALIQUOTAPS> aliquotas;    // every rate of the ECF's table, by position
  std::vector<REG_TOTALIZADOR_NAO_FISCALPS> naoFiscais;  // by code
};

// What an ECF's memory does at the end of a day: it sums the day's cupons
// into the totalizers of its Z reduction. The emulated printer, the
// demonstration and the tests build their reductions with it, so the
// reductions and the cupons always agree:
// - a cupom fiscal adds each item's net value (after the item's discount)
//   to the totalizer of the item's tax letter: 'T' to the ICMS rate of the
//   ECF's table equal to the item's rate, 'S' (a service) to the ISS rate,
//   'F', 'I' and 'N' to substitution, exempt and not taxed; the items'
//   discounts go to the discount totalizer;
// - a cancelled item, and every item of a cancelled cupom, adds its net
//   value to the cancellations and nothing else;
// - consumer notas (status 4) are not the printer's: they add nothing;
// - the gross sale is the sum of the rate totalizers, F, I and N plus the
//   discounts and the cancellations, and the grand total grows by it.
// An item whose rate the table lacks, or a service item that is not 'S',
// cannot be recorded: std::invalid_argument.
class CApuracaoReducaoZ {
 public:
  CApuracaoReducaoZ(std::uint16_t emissora, NumeroDia data, const std::vector<REG_EMISSOR_ALIQUOTA>& tabela);

  void AcumulaCupom(const REG_EC_CXPS& cupom, const std::vector<REG_EC_CX_CIPS>& itens);
  // A non-fiscal operation of the day (codes 0 to 255).
  void AcumulaNaoFiscal(std::uint8_t codigo, CY valor);

  // The reduction, the day's last document: its counters, its own COO (the
  // last of the day), the grand total before it and when it was issued.
  ReducaoZApurada Fecha(std::uint32_t crz, std::uint32_t cro, std::uint32_t cooReducao, CY grandeTotalAnterior,
                        NumeroDia dataEmissao, std::int32_t horaEmissao) const;

 private:
  CY& TotalizadorDoItem(const REG_EC_CX_CIPS& item);

  ReducaoZApurada m_apurada;
  std::uint32_t m_primeiroCOO = 0;
};

}  // namespace qmx::impressora
