#include "integracao/RateioGerencial.h"

namespace qmx {

void CRateioGerencial::Inicializa(const std::string& gerencial) {
  m_gerencial = gerencial;
  m_contasComGerencial.clear();
}

bool CRateioGerencial::SetConta(const std::string& conta, bool exigeGerencial) {
  if (!exigeGerencial) return true;
  if (m_gerencial.empty()) return false;
  m_contasComGerencial.push_back(conta);
  return true;
}

std::vector<CRateioGerencial::LancamentoGerencial> CRateioGerencial::GetLancamentosGerenciais(
    std::int64_t valor) const {
  std::vector<LancamentoGerencial> lancamentos;
  for (const auto& conta : m_contasComGerencial) lancamentos.push_back({conta, m_gerencial, valor});
  return lancamentos;
}

}  // namespace qmx
