#include "integracao/GavetaECF.h"

#include "integracao/CamposIntegracao.h"

namespace qmx {

using campos::Copia;
using campos::Formata;
using campos::Texto;

std::vector<REG_CONTABILIDADEPS> CGavetaECF::Lancamentos(std::string* falta) const {
  const std::string caixa = Texto(m_emissora.ContaCaixa);
  const struct {
    std::string conta;
    bool entraNoCaixa;
    const char* historico;
    const char* configure;
  } tipos[] = {
      {Texto(m_emissora.ContaContravales), true, "contravales emitidos", "a Conta de Contravales"},
      {Texto(m_emissora.ContaArredondamentos), true, "arredondamentos de troco",
       "a Conta de Arredondamentos de Troco"},
      {Texto(m_emissora.ContaTesouraria), false, "sangrias", "a Conta de Tesouraria"},
      {Texto(m_emissora.ContaTesouraria), true, "suprimentos", "a Conta de Tesouraria"},
  };
  std::vector<REG_CONTABILIDADEPS> lancamentos;
  for (int i = 0; i < 4; ++i) {
    if (m_valores[i] == 0) continue;
    const auto& t = tipos[i];
    if (t.conta.empty()) {
      *falta = Formata("Configure %s no Cadastro de ECFs.", t.configure);
      return {};
    }
    REG_CONTABILIDADEPS l{};
    l.Filial = m_emissora.Filial;
    l.Data = m_data;
    Copia(l.ContaDebito, t.entraNoCaixa ? caixa : t.conta);
    Copia(l.ContaCredito, t.entraNoCaixa ? t.conta : caixa);
    l.Valor = CY{m_valores[i]};
    Copia(l.Historico,
          Formata("Torvo ECF - Filial Nº %u, Caixa Nº %u, %s nessa data.", m_emissora.Filial, m_emissora.Numero,
                  t.historico));
    Copia(l.Origem, "FN");
    l.Chave = m_numero;
    l.Emissora = m_emissora.Numero;
    lancamentos.push_back(l);
  }
  return lancamentos;
}

}  // namespace qmx
