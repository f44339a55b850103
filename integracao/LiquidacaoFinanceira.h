#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "plataforma/calendario/NumeroDia.h"
#include "plataforma/dados/RegistroIntegracao.h"

namespace qmx {

// The settlement of what a day's titles received on the spot (cash, a
// cheque or a debit card taken at the till): the value of each receivable
// account, to go from it into the ECF's cash account. A receivable that is
// the cash account itself (money) is already there and takes no entry.
class CLiquidacaoFinanceira {
 public:
  explicit CLiquidacaoFinanceira(std::string contaCaixa) : m_contaCaixa(std::move(contaCaixa)) {}

  // A title received on the spot, in its receivable account.
  void Acrescenta(const std::string& contaReceber, std::int64_t valor);

  // One entry per receivable account, in the accounts' order: debit the
  // cash account, credit the receivable.
  std::vector<REG_CONTABILIDADEPS> Lancamentos(std::uint16_t filial, NumeroDia data, std::uint16_t ecf,
                                               std::int32_t numero) const;

 private:
  std::string m_contaCaixa;
  std::map<std::string, std::int64_t> m_valores;  // by receivable account
};

}  // namespace qmx
