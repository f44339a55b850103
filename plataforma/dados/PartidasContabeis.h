#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "plataforma/dados/RegistroIntegracao.h"
#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados {

// The accounting server's checks on an entry, and its one writer of
// entries. Both accounting servers (the integrations' and the financial
// module's) take entries through it, so a refusal carries the same code
// whoever posts.
class CPartidasContabeis {
 public:
  // The server's result code for the entry: 0 when it can be written, else
  // why not (7 zero value, 12 negative, 2 debit equal to credit, 3/4 debit
  // or credit not in the chart, 5/6 not analytic, 16/18 managerial account
  // required). The chart is read once per connection.
  std::uint16_t Verifica(CSessaoDados& s, const REG_CONTABILIDADEPS& lancamento);
  // Whether the date falls in the branch's blocked accounting month (the
  // branch's record read once per connection; a branch that cannot be read
  // throws, as any failure of the database).
  bool MesBloqueado(CSessaoDados& s, std::uint16_t filial, NumeroDia data);
  // Writes an entry that Verifica accepted.
  static void Grava(CSessaoDados& s, const REG_CONTABILIDADEPS& lancamento);

 private:
  struct Conta {
    bool analitica;
    bool exigeGerencial;
  };
  std::optional<std::map<std::string, Conta>> m_plano;
  std::map<std::uint16_t, std::int64_t> m_mesesBloqueados;  // branch -> month code (0: none)
};

}  // namespace qmx::dados
