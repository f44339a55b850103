#include "integracao/ConferenciaIntegracao.h"

#include "integracao/CamposIntegracao.h"
#include "integracao/RecebimentosCupom.h"
#include "plataforma/dados/ConexaoContasReceber.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoFormaPagamento.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ConexaoGradeContabil.h"

namespace qmx {

bool CConferenciaIntegracao::Resultado::Confere() const {
  if (!lido) return false;
  for (const auto& [codigo, forma] : formas)
    if (!forma.Confere()) return false;
  return integrado || formas.empty();
}

CConferenciaIntegracao::Resultado CConferenciaIntegracao::Confere(NumeroDia data, std::uint16_t ecf) const {
  Resultado r;
  const auto& t = m_triplo;
  dados::CConexaoECSCX cupons;
  dados::CConexaoFormaPagamento formas;
  dados::CConexaoMestre mestre;
  dados::CConexaoContasReceber receber;
  std::vector<std::uint32_t> encontrados;
  std::vector<dados::CupomCompleto> lidos;
  std::vector<REG_FORMA_PAGAMENTOPS> listaFormas;
  std::vector<REG_EC_CHAVES_INTEGRACAOPS> chaves;
  REG_EC_CX_CHAVEPS chave{};
  chave.Data = data;
  chave.Emissora = ecf;
  if (com::FAILED(cupons.Inicializa(t.chaveEmpresa, t.usuario, t.contexto)) ||
      com::FAILED(cupons.Busca(chave, &encontrados)) || com::FAILED(cupons.Le(encontrados, &lidos))) {
    r.erro = "não foi possível ler os cupons do dia";
    return r;
  }
  if (com::FAILED(formas.Inicializa(t.chaveEmpresa, t.usuario, t.contexto)) ||
      com::FAILED(formas.Lista(&listaFormas))) {
    r.erro = "não foi possível ler as formas de pagamento";
    return r;
  }
  if (com::FAILED(mestre.Inicializa(t.chaveEmpresa, t.usuario, t.contexto)) ||
      com::FAILED(mestre.LeChavesIntegracao("FN", data, ecf, &chaves)) ||
      com::FAILED(receber.Inicializa(t.chaveEmpresa, t.usuario, t.contexto))) {
    r.erro = "não foi possível ler a integração financeira do dia";
    return r;
  }
  r.lido = true;
  auto forma = [&](std::uint16_t codigo) -> Forma& {
    auto& f = r.formas[codigo];
    if (f.nome.empty()) {
      f.nome = std::to_string(codigo);
      for (const auto& cadastrada : listaFormas)
        if (cadastrada.Codigo == codigo) f.nome = campos::Texto(cadastrada.Nome);
    }
    return f;
  };
  for (const auto& c : lidos) {
    if (c.Cupom.Cancelado) continue;
    for (const auto& p : PagamentosLiquidos(c.Pagamentos)) forma(p.Forma).recebido += p.Valor.int64;
  }
  for (const auto& k : chaves) {
    if (k.FAC != dados::kIntegracaoFinanceira) continue;
    r.integrado = true;
    std::vector<REG_TITULO_RECEBERPS> titulos;
    if (com::FAILED(receber.ListaTitulos(k.COD, &titulos))) {
      r.lido = false;
      r.erro = "não foi possível ler os títulos da integração " + std::to_string(k.COD);
      return r;
    }
    for (const auto& titulo : titulos) {
      auto& f = forma(titulo.Forma);
      if (titulo.Cupom == 0) {
        f.totalDoDia += titulo.Valor.int64;
      } else {
        f.titulos += titulo.Valor.int64;
        ++f.quantidadeTitulos;
      }
    }
  }
  return r;
}

}  // namespace qmx
