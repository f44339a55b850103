#include "calculo/Rateio.h"

#include "calculo/Arredondamento.h"
#include "calculo/Inteiro128.h"

namespace qmx {

std::vector<std::int64_t> Rateia(std::int64_t total, const std::vector<std::int64_t>& pesos) {
  std::vector<std::int64_t> partes(pesos.size(), 0);
  if (pesos.empty()) return partes;
  Inteiro128 todo = 0;
  for (const auto p : pesos) todo += p;
  std::int64_t repartido = 0;
  for (std::size_t i = 0; i + 1 < pesos.size() && todo != 0; ++i) {
    const auto bruto = static_cast<std::int64_t>(static_cast<Inteiro128>(total) * pesos[i] / todo);
    partes[i] = QMXArredondamento::Arredondar(bruto, 100, QMXArredondamento::MEIO_LONGE_DO_ZERO);
    repartido += partes[i];
  }
  partes.back() = total - repartido;
  return partes;
}

}  // namespace qmx
