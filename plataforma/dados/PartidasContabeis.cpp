#include "plataforma/dados/PartidasContabeis.h"

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

std::uint16_t CPartidasContabeis::Verifica(CSessaoDados& s, const REG_CONTABILIDADEPS& l) {
  if (!m_plano) {
    std::map<std::string, Conta> plano;
    for (const auto& linha : s.Consulta("SELECT codigo, analitica, exige_gerencial FROM plano_conta", {}))
      plano[linha.Texto(0)] = Conta{linha.Inteiro(1) != 0, linha.Inteiro(2) != 0};
    m_plano = std::move(plano);
  }
  const std::string debito = TextoParaBase(l.ContaDebito);
  const std::string credito = TextoParaBase(l.ContaCredito);
  const bool semGerencial = l.Gerencial[0] == '\0';
  const auto contaDebito = m_plano->find(debito);
  const auto contaCredito = m_plano->find(credito);
  if (MesBloqueado(s, l.Filial, l.Data)) return 21;
  if (l.Valor.int64 == 0) return 7;
  if (l.Valor.int64 < 0) return 12;
  if (debito == credito) return 2;
  if (contaDebito == m_plano->end()) return 3;
  if (contaCredito == m_plano->end()) return 4;
  if (!contaDebito->second.analitica) return 5;
  if (!contaCredito->second.analitica) return 6;
  if (contaDebito->second.exigeGerencial && semGerencial) return 16;
  if (contaCredito->second.exigeGerencial && semGerencial) return 18;
  return 0;
}

bool CPartidasContabeis::MesBloqueado(CSessaoDados& s, std::uint16_t filial, NumeroDia data) {
  auto achado = m_mesesBloqueados.find(filial);
  if (achado == m_mesesBloqueados.end()) {
    const auto linhas = s.Consulta("SELECT mes_bloqueado_contabil FROM filial WHERE numero = ?", {filial});
    achado = m_mesesBloqueados.emplace(filial, linhas.empty() ? 0 : linhas.front().Inteiro(0)).first;
  }
  if (achado->second == 0) return false;
  const DiaMesAno dia = DecodificaDia(data);
  return CodificaMes(dia.mes, dia.ano) == achado->second;
}

void CPartidasContabeis::Grava(CSessaoDados& s, const REG_CONTABILIDADEPS& l) {
  s.Enfileira(
      "INSERT INTO lancamento_contabil (id, filial, data, conta_debito, conta_credito, valor, historico, gerencial, "
      "origem, chave, movimento, emissora) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
      {s.ProximoNumero("lancamento_contabil"), l.Filial, l.Data, TextoParaBase(l.ContaDebito),
       TextoParaBase(l.ContaCredito), l.Valor.int64, TextoParaBase(l.Historico), TextoParaBase(l.Gerencial),
       TextoParaBase(l.Origem), l.Chave, l.Movimento, l.Emissora});
}

}  // namespace qmx::dados
