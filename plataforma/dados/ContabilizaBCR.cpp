#include "plataforma/dados/ContabilizaBCR.h"

#include <cstring>

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
  return LeVarios(
      "SELECT filial, data, conta_debito, conta_credito, valor, historico, gerencial, origem, chave, movimento, "
      "emissora FROM lancamento_contabil WHERE chave = ? ORDER BY id",
      {numero}, lancamentos, [](const LinhaDados& l) {
        REG_CONTABILIDADEPS r;
        std::memset(&r, 0, sizeof r);
        r.Filial = static_cast<std::uint16_t>(l.Inteiro(0));
        r.Data = static_cast<NumeroDia>(l.Inteiro(1));
        CopiaTexto(r.ContaDebito, l.Texto(2));
        CopiaTexto(r.ContaCredito, l.Texto(3));
        r.Valor = CY{l.Inteiro(4)};
        CopiaTexto(r.Historico, l.Texto(5));
        CopiaTexto(r.Gerencial, l.Texto(6));
        CopiaTexto(r.Origem, l.Texto(7));
        r.Chave = static_cast<std::int32_t>(l.Inteiro(8));
        r.Movimento = static_cast<std::uint32_t>(l.Inteiro(9));
        r.Emissora = static_cast<std::uint16_t>(l.Inteiro(10));
        return r;
      });
}

}  // namespace qmx::dados
