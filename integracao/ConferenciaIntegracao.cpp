#include "integracao/ConferenciaIntegracao.h"

#include "integracao/CamposIntegracao.h"
#include "integracao/RecebimentosCupom.h"
#include "plataforma/dados/ConexaoCondicaoPagamento.h"
#include "plataforma/dados/ConexaoContasReceber.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ContabilizaBCR.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoFormaPagamento.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ConexaoGradeContabil.h"

namespace qmx {

bool CConferenciaIntegracao::Contabil::Confere() const {
  if (debitos != creditos || titulosSemLancamento != 0 || lancamentosSemTitulo != 0 ||
      (contabilizado && transitoriaDebitada != transitoriaCreditada))
    return false;
  for (const auto& [conta, valores] : liquidacao)
    if (valores.first != valores.second) return false;
  return true;
}

bool CConferenciaIntegracao::Resultado::Confere() const {
  if (!lido || !contabil.Confere()) return false;
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
  dados::CConexaoCondicaoPagamento condicoes;
  dados::CConexaoEmissora emissoras;
  dados::CContabilizaBCR contabiliza;
  std::vector<REG_CONDICAO_PAGAMENTOPS> listaCondicoes;
  REG_EMISSORPS emissora{};
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
      com::FAILED(formas.Lista(&listaFormas)) ||
      com::FAILED(condicoes.Inicializa(t.chaveEmpresa, t.usuario, t.contexto)) ||
      com::FAILED(condicoes.Lista(&listaCondicoes))) {
    r.erro = "não foi possível ler as formas e condições de pagamento";
    return r;
  }
  if (com::FAILED(emissoras.Inicializa(t.chaveEmpresa, t.usuario, t.contexto)) ||
      com::FAILED(emissoras.Le(ecf, &emissora)) ||
      com::FAILED(contabiliza.Inicializa(t.chaveEmpresa, t.usuario, t.contexto))) {
    r.erro = "não foi possível ler o ECF e sua contabilização";
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
  CondicoesAVista aVista;
  for (const auto& c : listaCondicoes) aVista[c.Codigo] = c.AVista != 0;
  std::map<std::uint32_t, bool> aPrazo;  // by COO
  for (const auto& c : lidos) {
    if (c.Cupom.Cancelado) continue;
    aPrazo[c.Cupom.COO] = VendaAPrazo(c, aVista);
    for (const auto& p : PagamentosLiquidos(c.Pagamentos)) forma(p.Forma).recebido += p.Valor.int64;
  }
  const std::string contaCaixa = campos::Texto(emissora.ContaCaixa);
  const std::string contaTransitoria = campos::Texto(emissora.ContaTransitoriaVendas);
  // The accounting pass's debits to the clearing account.
  std::vector<REG_EC_CHAVES_INTEGRACAOPS> chavesContabeis;
  if (com::FAILED(mestre.LeChavesIntegracao("CN", data, ecf, &chavesContabeis))) {
    r.lido = false;
    r.erro = "não foi possível ler a integração contábil do dia";
    return r;
  }
  for (const auto& k : chavesContabeis) {
    r.contabil.contabilizado = true;
    std::vector<REG_CONTABILIDADEPS> lancamentos;
    if (com::FAILED(contabiliza.LeLancamentos(k.COD, &lancamentos))) {
      r.lido = false;
      r.erro = "não foi possível ler os lançamentos da integração " + std::to_string(k.COD);
      return r;
    }
    for (const auto& l : lancamentos)
      if (campos::Texto(l.ContaDebito) == contaTransitoria) r.contabil.transitoriaDebitada += l.Valor.int64;
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
    std::vector<REG_CONTABILIDADEPS> lancamentos;
    if (com::FAILED(contabiliza.LeLancamentos(k.COD, &lancamentos))) {
      r.lido = false;
      r.erro = "não foi possível ler os lançamentos da integração " + std::to_string(k.COD);
      return r;
    }
    std::vector<bool> usados(lancamentos.size(), false);
    for (const auto& l : lancamentos) {
      r.contabil.debitos += l.Valor.int64;
      r.contabil.creditos += l.Valor.int64;
      if (campos::Texto(l.ContaCredito) == contaTransitoria) r.contabil.transitoriaCreditada += l.Valor.int64;
    }
    for (const auto& titulo : titulos) {
      auto& f = forma(titulo.Forma);
      if (titulo.Cupom == 0) {
        f.totalDoDia += titulo.Valor.int64;
      } else {
        f.titulos += titulo.Valor.int64;
        ++f.quantidadeTitulos;
      }
      // Its entry: the receivable debited, the sale's account credited; none
      // when the receivable is that very account.
      const auto venda = aPrazo.find(titulo.Cupom);
      const std::string& contaDaVenda = venda != aPrazo.end() && venda->second ? contaTransitoria : contaCaixa;
      const std::string conta = campos::Texto(titulo.Conta);
      if (conta != contaDaVenda) {
        bool achado = false;
        for (std::size_t i = 0; i < lancamentos.size() && !achado; ++i) {
          const auto& l = lancamentos[i];
          if (usados[i] || campos::Texto(l.ContaDebito) != conta || campos::Texto(l.ContaCredito) != contaDaVenda ||
              l.Valor.int64 != titulo.Valor.int64)
            continue;
          usados[i] = achado = true;
        }
        if (!achado) ++r.contabil.titulosSemLancamento;
      }
      // Received on the spot: due on the day, in a means not on credit.
      bool emFormaAPrazo = false;
      for (const auto& cadastrada : listaFormas)
        if (cadastrada.Codigo == titulo.Forma) emFormaAPrazo = cadastrada.APrazo != 0;
      if (titulo.Vencimento == titulo.Data && !emFormaAPrazo && conta != contaCaixa)
        r.contabil.liquidacao[conta].first += titulo.Valor.int64;
    }
    // What is left are the settlements: cash debited, a receivable credited.
    for (std::size_t i = 0; i < lancamentos.size(); ++i) {
      if (usados[i]) continue;
      const auto& l = lancamentos[i];
      if (campos::Texto(l.ContaDebito) == contaCaixa)
        r.contabil.liquidacao[campos::Texto(l.ContaCredito)].second += l.Valor.int64;
      else
        ++r.contabil.lancamentosSemTitulo;
    }
  }
  return r;
}

}  // namespace qmx
