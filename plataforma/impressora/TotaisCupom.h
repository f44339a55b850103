#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/dados/RegistroCupomItem.h"

namespace qmx::impressora {

// A cupom's subtotal as the ECF prints it: the net values of its items
// that were not cancelled (each item's own discount is in its item record,
// E15 and R05); then the discount or surcharge given on that subtotal, which
// brings it to the cupom's total. The items' discounts are not counted a
// second time on the subtotal (the cash data keep their sum with the cupom).
struct TotaisCupom {
  std::int64_t subtotal = 0, desconto = 0, acrescimo = 0;
};
TotaisCupom TotaisDoCupom(const REG_EC_CXPS& cupom, const std::vector<REG_EC_CX_CIPS>& itens);

}  // namespace qmx::impressora
