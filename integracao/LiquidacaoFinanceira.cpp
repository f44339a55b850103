#include "integracao/LiquidacaoFinanceira.h"

#include "integracao/CamposIntegracao.h"

namespace qmx {

void CLiquidacaoFinanceira::Acrescenta(const std::string& contaReceber, std::int64_t valor) {
  if (contaReceber == m_contaCaixa || valor == 0) return;
  m_valores[contaReceber] += valor;
}

std::vector<REG_CONTABILIDADEPS> CLiquidacaoFinanceira::Lancamentos(std::uint16_t filial, NumeroDia data,
                                                                    std::uint16_t ecf, std::int32_t numero) const {
  std::vector<REG_CONTABILIDADEPS> lancamentos;
  for (const auto& [conta, valor] : m_valores) {
    if (valor == 0) continue;
    REG_CONTABILIDADEPS l{};
    l.Filial = filial;
    l.Data = data;
    campos::Copia(l.ContaDebito, m_contaCaixa);
    campos::Copia(l.ContaCredito, conta);
    l.Valor = CY{valor};
    campos::Copia(l.Historico,
                  campos::Formata("Torvo ECF - Filial Nº %u, Caixa Nº %u, recebido à vista nessa data.", filial, ecf));
    campos::Copia(l.Origem, "FN");
    l.Chave = numero;
    l.Emissora = ecf;
    lancamentos.push_back(l);
  }
  return lancamentos;
}

}  // namespace qmx
