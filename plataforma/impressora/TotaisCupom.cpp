#include "plataforma/impressora/TotaisCupom.h"

namespace qmx::impressora {

TotaisCupom TotaisDoCupom(const REG_EC_CXPS& cupom, const std::vector<REG_EC_CX_CIPS>& itens) {
  TotaisCupom t;
  for (const auto& item : itens)
    if (!item.Cancelado) t.subtotal += item.ValorTotal.int64;
  const std::int64_t diferenca = cupom.Total.int64 - t.subtotal;
  if (diferenca < 0) t.desconto = -diferenca;
  else t.acrescimo = diferenca;
  return t;
}

}  // namespace qmx::impressora
