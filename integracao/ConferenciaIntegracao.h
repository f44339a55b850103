#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// The day's reconciliation of an ECF between what its cupons received and
// what the financial pass left in the back office, per means of payment:
// the cupons' payments (less the printer's deductions) against the
// titles and day totals of the day's financial integration; then the
// titles' accounting: each title's entry (its receivable debited, the
// sale's account credited), what was received on the spot settled into
// cash per receivable, and the entries' debit and credit sums. It reads
// the cupons, titles and entries on its own; it shares with the pass only
// the rules of the deductions and of which sale is on credit, so a fault
// of the pass's posting shows as a difference here instead of confirming
// itself.
class CConferenciaIntegracao {
 public:
  struct Forma {
    std::string nome;
    std::int64_t recebido = 0;     // by the cupons, four decimals
    std::int64_t titulos = 0;      // titles of cupons
    std::int64_t totalDoDia = 0;   // the day's cash total
    int quantidadeTitulos = 0;
    bool Confere() const { return recebido == titulos + totalDoDia; }
  };
  // The financial entries of the day, four decimals.
  struct Contabil {
    std::int64_t debitos = 0;
    std::int64_t creditos = 0;
    // The ECF's sales clearing account: what the accounting pass debited to
    // it for the credit sales, and what the titles took out of it (compared
    // once the day's accounting pass has run).
    bool contabilizado = false;
    std::int64_t transitoriaDebitada = 0;
    std::int64_t transitoriaCreditada = 0;
    int titulosSemLancamento = 0;        // titles that should have an entry and have none
    int lancamentosSemTitulo = 0;        // entries that are neither a title's nor a settlement
    // Per receivable account: received on the spot, and settled into cash.
    std::map<std::string, std::pair<std::int64_t, std::int64_t>> liquidacao;
    bool Confere() const;
  };
  struct Resultado {
    bool lido = false;                   // false: a server failed (see erro)
    std::string erro;
    bool integrado = false;              // the day has a financial integration
    std::map<std::uint16_t, Forma> formas;
    Contabil contabil;
    bool Confere() const;
  };

  explicit CConferenciaIntegracao(const TriploConexao& triplo) : m_triplo(triplo) {}
  Resultado Confere(NumeroDia data, std::uint16_t ecf) const;

 private:
  TriploConexao m_triplo;
};

}  // namespace qmx
