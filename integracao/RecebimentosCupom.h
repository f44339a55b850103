#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "plataforma/calendario/NumeroDia.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx {

// What a cupom received and how the back office holds it. Every part of
// every payment lands in exactly one place:
// - on credit (the cupom has installments): each installment a title in the
//   means that pays it, what the payments hold beyond the installments (the
//   down payment) a title per payment, due on the day;
// - in cash to an identified customer, or on credit by the payment
//   condition alone: a title per payment;
// - in cash to anyone else: the day's total of each means.
// The printer's own means (codes 250 and up: change, vouchers issued
// instead of change, the coins of change the store kept) take back part of
// what was handed over: from the money, the last money payment first, as
// change is given out of the drawer; a cupom without money takes them from
// its last payment back.
struct Recebimento {
  enum class Tipo { Parcela, Entrada, AVistaCliente, AVistaTotal };
  Tipo tipo = Tipo::AVistaTotal;
  std::uint16_t forma = 0;           // means of payment
  std::uint16_t tipoDocumento = 0;   // an installment's document type
  std::uint32_t numero = 0;          // the title's number in the cupom (0 in a day's total)
  NumeroDia vencimento = 0;          // 0: the day of the sale
  std::int64_t valor = 0;            // four decimals
  const REG_EC_CX_PAGAMENTOPS* pagamento = nullptr;  // the payment it comes from
};

using FormasPagamento = std::map<std::uint16_t, REG_FORMA_PAGAMENTOPS>;
// The means that are money: those whose receipts go into the ECF's cash
// account (the drawer).
using FormasDinheiro = std::set<std::uint16_t>;

// Whether a cupom is a sale on credit: it has installments, or its payment
// condition is not a cash one (by condition code; an unknown condition is
// cash). The accounting pass debits such a sale to the ECF's clearing
// account and the financial pass takes each of its titles out of it, so
// both (and the reconciliation) go by this one rule.
using CondicoesAVista = std::map<std::uint16_t, bool>;
bool VendaAPrazo(const dados::CupomCompleto& cupom, const CondicoesAVista& aVista);

// The payments of a cupom without the printer's deductions and without
// the empty ones (amount or means 0), in their order.
std::vector<REG_EC_CX_PAGAMENTOPS> PagamentosLiquidos(const std::vector<REG_EC_CX_PAGAMENTOPS>& pagamentos,
                                                      const FormasDinheiro& dinheiro);

// The cupom's receipts, in title order; nothing for a cancelled cupom. The
// installments are paid by the payments in credit means first (in their
// order), then by the others from the last one back, as the operator keys
// the down payment first. Answers false when the installments add up to
// more than the cupom received: such a cupom cannot be posted.
bool RecebimentosDoCupom(const dados::CupomCompleto& cupom, const FormasPagamento& formas, const CondicoesAVista& aVista,
                         const FormasDinheiro& dinheiro, std::vector<Recebimento>& recebimentos);

}  // namespace qmx
