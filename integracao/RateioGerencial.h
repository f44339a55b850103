#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qmx {

// The managerial apportionment of an accounting entry: which managerial
// account each side of the entry carries. Ours is the simple one: every
// account that requires a managerial account gets the one given at the
// start (a storage place's or a branch's), for the whole value.
class CRateioGerencial {
 public:
  struct LancamentoGerencial {
    std::string conta;
    std::string gerencial;
    std::int64_t valor;  // times 10 000
  };

  // The managerial account to apportion to; empty: none known.
  void Inicializa(const std::string& gerencial);
  // Adds an account of the entry; false when it requires a managerial
  // account and none is known.
  bool SetConta(const std::string& conta, bool exigeGerencial);
  // The managerial entries of a value on the accounts set, in their order.
  std::vector<LancamentoGerencial> GetLancamentosGerenciais(std::int64_t valor) const;
  // The managerial account an entry on these accounts carries: empty when
  // none of them requires one.
  std::string Gerencial() const { return m_contasComGerencial.empty() ? std::string() : m_gerencial; }

 private:
  std::string m_gerencial;
  std::vector<std::string> m_contasComGerencial;
};

}  // namespace qmx
