#include "arquivos/ContextoSintegra.h"

namespace qmx::sintegra {

std::string CodigoItem(bool servico, std::uint32_t codigo) {
  return (servico ? "S" : "P") + std::to_string(codigo);
}

ImpostoItem ImpostoDoItem(const REG_EC_CX_CIPS& item, bool cancelado) {
  ImpostoItem imposto;
  if (cancelado || item.Cancelado || item.Servico || item.TipoTributacao != 'T' || item.AliquotaCentesimos == 0)
    return imposto;
  imposto.base = item.ValorTotal.int64;
  // value × rate / 100, the rate in hundredths: kept exact to the fourth
  // decimal and cut there, as the records cut further.
  imposto.icms = static_cast<std::int64_t>(static_cast<__int128>(imposto.base) * item.AliquotaCentesimos / 10000);
  return imposto;
}

}  // namespace qmx::sintegra
