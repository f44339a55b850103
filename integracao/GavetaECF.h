#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plataforma/calendario/NumeroDia.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/dados/RegistroIntegracao.h"

namespace qmx {

// What the drawer of an ECF took in and gave out on a day besides the
// sales, as entries of its cash account:
// - credit vouchers issued instead of change: the money stays in the
//   drawer and is owed to the customer (debit cash, credit the vouchers
//   account);
// - the coins of change the store kept: its gain (debit cash, credit the
//   roundings account);
// - withdrawals to the treasury and floats from it (the Z reduction's
//   non-fiscal totalizers): debit the treasury, credit cash, or the
//   reverse.
// With the sales' entries (the accounting pass debits the cash sales, the
// financial pass moves every part not paid in money to its receivable),
// the cash account then moves by what the drawer holds: money received
// less change given, less withdrawals, plus floats.
class CGavetaECF {
 public:
  enum class Tipo { Contravales, Arredondamentos, Sangrias, Suprimentos };
  CGavetaECF(const REG_EMISSORPS& emissora, NumeroDia data, std::int32_t numero)
      : m_emissora(emissora), m_data(data), m_numero(numero) {}

  void Acrescenta(Tipo tipo, std::int64_t valor) { m_valores[static_cast<int>(tipo)] += valor; }

  // The day's entries, in the order of the kinds above; a kind with a
  // value whose account the ECF lacks is named in *falta (the text that
  // asks for it) and nothing is answered.
  std::vector<REG_CONTABILIDADEPS> Lancamentos(std::string* falta) const;

 private:
  REG_EMISSORPS m_emissora;
  NumeroDia m_data;
  std::int32_t m_numero;
  std::int64_t m_valores[4] = {};
};

}  // namespace qmx
