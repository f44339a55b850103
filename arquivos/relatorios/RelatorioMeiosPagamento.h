#pragma once

#include <cstdint>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// Prints the "MEIOS DE PAGTO" management report of a branch and period on
// the fiscal printer: day by day the amounts received per means of
// payment in cupons fiscais and in notas fiscais, the day's sum, then the
// period's totals per means and in all. The cash line ("DINHEIRO") is
// lowered by the day's deductions: payments of means 252 or 253, and of
// means 255 (the change given back). A data-server failure is reported
// and the report goes on with what was read.
class CRelatorioMeiosPagamento {
 public:
  explicit CRelatorioMeiosPagamento(const TriploConexao& triplo) : m_triplo(triplo) {}
  void Imprime(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal);

 private:
  TriploConexao m_triplo;
};

}  // namespace qmx
