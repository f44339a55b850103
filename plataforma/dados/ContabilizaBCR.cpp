#include "plataforma/dados/ContabilizaBCR.h"

#include <cstring>

#include "plataforma/dados/LeituraRegistros.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

namespace {

REG_CONTABILIDADEPS ComOrigem(const REG_CONTABILIDADEPS& lancamento) {
  REG_CONTABILIDADEPS l = lancamento;
  std::memcpy(l.Origem, "FN", 3);
  return l;
}

}  // namespace

com::HRESULT CContabilizaBCR::TestaContabilizacao(const REG_CONTABILIDADEPS& lancamento, std::uint16_t* codigo) {
  if (!codigo) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    *codigo = m_partidas.Verifica(s, lancamento);
    return com::S_OK;
  });
}

com::HRESULT CContabilizaBCR::Contabiliza(const REG_CONTABILIDADEPS& lancamento, std::uint16_t* codigo) {
  if (!codigo) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const REG_CONTABILIDADEPS l = ComOrigem(lancamento);
    *codigo = m_partidas.Verifica(s, l);
    if (*codigo == 0) CPartidasContabeis::Grava(s, l);
    return com::S_OK;
  });
}

com::HRESULT CContabilizaBCR::ExcluiContabilizacao(std::int32_t numero) {
  return Executa([&](CSessaoDados& s) {
    s.Enfileira("DELETE FROM lancamento_contabil WHERE chave = ? AND origem = 'FN'", {numero});
    return com::S_OK;
  });
}

com::HRESULT CContabilizaBCR::LeLancamentos(std::int32_t numero, std::vector<REG_CONTABILIDADEPS>* lancamentos) {
  return LeVarios("SELECT " QMX_COLUNAS_LANCAMENTO " FROM lancamento_contabil WHERE chave = ? ORDER BY id", {numero},
                  lancamentos, [](const LinhaDados& l) { return leitura::Lancamento(l); });
}

}  // namespace qmx::dados
