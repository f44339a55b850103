#include "integracao/CustoMedio.h"

#include <algorithm>

#include "calculo/Inteiro128.h"

namespace qmx {

namespace {

constexpr std::int64_t kUmCentavo = 100;

// numerador / denominador (denominador > 0) to the cent of a value held
// times 10 000.
std::int64_t EmCentavos(Inteiro128 numerador, Inteiro128 denominador) {
  const Inteiro128 divisor = denominador * 100;
  const Inteiro128 metade = divisor / 2;
  const Inteiro128 centavos = (numerador + (numerador >= 0 ? metade : -metade)) / divisor;
  return static_cast<std::int64_t>(centavos * 100);
}

}  // namespace

std::int64_t ValorNoCustoMedio(std::int64_t quantidade, std::int64_t quantidadeLocal, std::int64_t valorLocal,
                               std::int64_t custoUltimaCompra) {
  if (quantidadeLocal > 0 && valorLocal > 0)
    return EmCentavos(static_cast<Inteiro128>(quantidade) * valorLocal, quantidadeLocal);
  return ValorAoCusto(quantidade, custoUltimaCompra);
}

std::int64_t CustoDaSaida(std::int64_t quantidade, std::int64_t quantidadeLocal, std::int64_t valorLocal,
                          std::int64_t custoUltimaCompra) {
  const std::int64_t valor = ValorNoCustoMedio(quantidade, quantidadeLocal, valorLocal, custoUltimaCompra);
  // A product with no cost at all stays at zero: its entry is refused and
  // the item pending, for the register to be put right.
  const bool temCusto = (quantidadeLocal > 0 && valorLocal > 0) || custoUltimaCompra > 0;
  return quantidade > 0 && temCusto ? std::max(valor, kUmCentavo) : valor;
}

std::int64_t ValorAoCusto(std::int64_t quantidade, std::int64_t custoUnitario) {
  return EmCentavos(static_cast<Inteiro128>(quantidade) * custoUnitario, 10000);
}

}  // namespace qmx
