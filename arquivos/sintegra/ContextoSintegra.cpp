#include "arquivos/sintegra/ContextoSintegra.h"

#include "calculo/Inteiro128.h"

namespace qmx::sintegra {

std::string CodigoItem(bool servico, std::uint32_t codigo) {
  char texto[12];
  int n = sizeof texto;
  do {
    texto[--n] = static_cast<char>('0' + codigo % 10);
    codigo /= 10;
  } while (codigo);
  texto[--n] = servico ? 'S' : 'P';
  return std::string(texto + n, sizeof texto - static_cast<std::size_t>(n));
}

ImpostoItem ImpostoDoItem(const REG_EC_CX_CIPS& item, bool cancelado) {
  ImpostoItem imposto;
  if (cancelado || item.Cancelado || item.Servico || item.TipoTributacao != 'T' || item.AliquotaCentesimos == 0)
    return imposto;
  imposto.base = item.ValorTotal.int64;
  // value × rate / 100, the rate in hundredths: kept exact to the fourth
  // decimal and cut there, as the records cut further.
  // The product fits 64 bits for any base below 2^47 (billions of reais);
  // a larger one is taken in 128.
  const std::int64_t limite = std::int64_t{1} << 47;
  imposto.icms = (imposto.base < limite && imposto.base > -limite)
                     ? imposto.base * item.AliquotaCentesimos / 10000
                     : static_cast<std::int64_t>(static_cast<qmx::Inteiro128>(imposto.base) * item.AliquotaCentesimos / 10000);
  return imposto;
}

}  // namespace qmx::sintegra
