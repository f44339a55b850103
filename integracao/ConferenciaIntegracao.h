#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// The reconciliation of an ECF's day in the back office, as an accountant
// checks the books before signing them. Every identity is worked out again
// from the source rows (the cupons with their items and payments, the Z
// reduction) and from what the back office holds (the fiscal book, the
// entries, the receivables, the stock movements), with queries and rules
// of its own: nothing is asked of the integration passes, so a fault of a
// pass shows as a difference here instead of confirming itself.
//
// The identities:
// - the fiscal book of the ECF's cupons is the Z reduction: per rate (its
//   value and its ICMS), substitution, exempt, not taxed and ISS; the
//   consumer notas' lines are the notas;
// - the cash account moves by what the drawer holds: money received, less
//   the change given, less withdrawals, plus floats;
// - the receivables are the payments, per means, the printer's deductions
//   (change, vouchers, kept coins) taken from the money; money received
//   on the day is settled, cards and cheques are not; every title's
//   customer is in the register;
// - the accounting pass's revenue is what was sold; the sales clearing
//   account empties;
// - the stock: each item sold has left the stock (and each item cancelled
//   has come back), every movement has its entries of the same value, every
//   return gives back what its exit took; no return is dated in a blocked
//   month; each place's running cost holds the place's balance.
class CConferenciaIntegracao {
 public:
  // One compared figure: what the sources make it, what the books hold.
  struct Comparacao {
    std::string grupo;
    std::string item;
    std::int64_t fonte = 0;   // four decimals
    std::int64_t livros = 0;  // four decimals
    bool Confere() const { return fonte == livros; }
  };
  struct Resultado {
    bool lido = false;  // false: the data could not be read (see erro)
    std::string erro;
    std::vector<Comparacao> comparacoes;
    // What is wrong that is not a figure: a pass not run, an item pending,
    // a title of nobody; each a sentence.
    std::vector<std::string> problemas;
    bool Confere() const;
  };

  explicit CConferenciaIntegracao(const TriploConexao& triplo) : m_triplo(triplo) {}
  Resultado Confere(NumeroDia data, std::uint16_t ecf) const;

 private:
  TriploConexao m_triplo;
};

}  // namespace qmx
