// The financial pass: a day's sales of an ECF as receivables. Sales on
// credit give one title per installment; cash sales to an identified
// customer one title per payment; the other cash sales one total per means
// of payment. Each title carries the entry account of its means. (The
// financial module's own accounting of the titles is not this library's.)
#include <algorithm>
#include <map>
#include <vector>

#include "integracao/CamposIntegracao.h"
#include "integracao/QMXIntegracao.h"
#include "plataforma/dados/ServidoresIntegracaoCOM.h"
#include "plataforma/dados/TransacaoDados.h"

namespace qmx {

using campos::Copia;
using campos::Formata;
using campos::Texto;

namespace {

// The printer's own means (codes 250 and up: vouchers, rounding, change)
// are not receivables: they take back part of what the customer handed
// over, and come off the cupom's payments from the first one on.
constexpr std::uint16_t kPrimeiraFormaDaImpressora = 250;

std::vector<REG_EC_CX_PAGAMENTOPS> PagamentosLiquidos(const std::vector<REG_EC_CX_PAGAMENTOPS>& pagamentos) {
  std::int64_t deducoes = 0;
  std::vector<REG_EC_CX_PAGAMENTOPS> liquidos;
  for (const auto& p : pagamentos) {
    if (p.Forma >= kPrimeiraFormaDaImpressora) deducoes += p.Valor.int64;
    else if (p.Forma != 0 && p.Valor.int64 != 0) liquidos.push_back(p);
  }
  for (auto& p : liquidos) {
    const std::int64_t tirado = std::min(deducoes, p.Valor.int64);
    p.Valor.int64 -= tirado;
    deducoes -= tirado;
  }
  std::erase_if(liquidos, [](const REG_EC_CX_PAGAMENTOPS& p) { return p.Valor.int64 == 0; });
  return liquidos;
}

std::string HistoricoCupom(std::uint16_t filial, std::uint16_t ecf, std::uint32_t cupom, std::uint32_t titulo) {
  return Formata("Torvo ECF - Filial Nº %u, Caixa Nº %u, Cupom Fiscal Nº %u, Titulo Nº %u", filial, ecf, cupom,
                 titulo);
}

}  // namespace

std::int32_t CQMXIntegracao::IntegraFinanceiro(const REG_QMX_PARAMETROS_INTEGRACAO& parametros) {
  const NumeroDia data = DataDosParametros(parametros);
  const std::uint16_t ecf = parametros.nEcf;
  Log("Iniciando Integração com Torvo Financeiro...");
  auto lidos = LeCupons(data, ecf);
  if (com::FAILED(lidos.busca)) {
    Log("Erro ao Buscar Ponteiros no Servidor de Caixa");
    return lidos.busca;
  }
  if (com::FAILED(lidos.leitura)) {
    Log("Erro ao Buscar Registros no Servidor de Caixa");
    return lidos.leitura;
  }
  const com::HRESULT ativado =
      AtivaServidor(dados::kClasseServidorIntegracaoFN, dados::IZTFN_ServidorIntegracao::kIID);
  if (com::FAILED(ativado)) {
    Log("Erro ao Iniciar o Servidor de Integração do Financeiro");
    return ativado;
  }
  if (!m_receber.Inicializada()) {
    Log("Erro ao Iniciar o Servidor de Contas a Receber e Pagar do Torvo Financeiro");
    return kIntegracaoInterrompida;
  }
  std::vector<REG_FORMA_PAGAMENTOPS> listaFormas;
  if (com::FAILED(m_formas.Lista(&listaFormas))) {
    Log("Erro ao Iniciar o Servidor de Cadastro de Formas de Pagamento");
    return kIntegracaoInterrompida;
  }
  std::map<std::uint16_t, REG_FORMA_PAGAMENTOPS> formas;
  for (const auto& f : listaFormas) formas[f.Codigo] = f;
  REG_EMISSORPS emissora{};
  if (const com::HRESULT lida = LeEmissora(ecf, &emissora); com::FAILED(lida)) {
    ReportaFalha(lida, __LINE__);
    return lida;
  }

  dados::CTransacaoDados transacao;
  std::int32_t numero = 0;
  if (!IniciaIntegracao(transacao, ecf, &numero)) {
    Log("Erro ao Iniciar o Servidor de Integrações");
    return kIntegracaoInterrompida;
  }
  if (!RemoveIntegracaoFN(data, ecf)) return kIntegracaoInterrompida;

  // The entry account of a means of payment; empty (logged) when it has none.
  auto contaEntrada = [&](std::uint16_t forma) -> std::string {
    const auto achada = formas.find(forma);
    const std::string conta = achada == formas.end() ? std::string() : Texto(achada->second.ContaEntradaFN);
    if (conta.empty())
      Log(Formata("Não existe Conta Entrada FN para a Forma de Pagamento %s",
                  achada == formas.end() ? std::to_string(forma).c_str() : Texto(achada->second.Nome).c_str()));
    return conta;
  };
  auto titulo = [&](std::uint32_t cupom, std::uint32_t cliente, std::uint16_t forma, std::uint32_t numeroTitulo,
                    NumeroDia vencimento, std::int64_t valor, const std::string& conta,
                    const std::string& historico) {
    REG_TITULO_RECEBERPS t{};
    t.Filial = emissora.Filial;
    t.Data = data;
    t.Emissora = ecf;
    t.Cupom = cupom;
    t.Cliente = cliente;
    t.Forma = forma;
    t.Numero = numeroTitulo;
    t.Vencimento = vencimento;
    t.Valor = CY{valor};
    Copia(t.Conta, conta);
    Copia(t.Historico, historico);
    t.Chave = numero;
    return com::SUCCEEDED(m_receber.GravaTitulo(t));
  };

  std::map<std::uint16_t, std::int64_t> totaisAVista;  // cash sales without customer, per means
  for (const auto& cupom : lidos.cupons) {
    const REG_EC_CXPS& c = cupom.Cupom;
    if (c.Cancelado) continue;
    if (!cupom.Parcelas.empty()) {
      // On credit: the means of the cupom's credit payment gives the
      // account, else the means it was paid in (post-dated cheques).
      const auto pagos = PagamentosLiquidos(cupom.Pagamentos);
      std::uint16_t forma = pagos.empty() ? 0 : pagos.front().Forma;
      for (const auto& p : pagos)
        if (const auto f = formas.find(p.Forma); f != formas.end() && f->second.APrazo) forma = p.Forma;
      const std::string conta = contaEntrada(forma);
      if (conta.empty()) return kIntegracaoInterrompida;
      for (const auto& parcela : cupom.Parcelas) {
        if (!titulo(c.COO, c.Cliente, parcela.TipoDocumento, parcela.Sequencia, parcela.Vencimento,
                    parcela.Valor.int64, conta, HistoricoCupom(c.Filial, ecf, c.COO, parcela.Sequencia))) {
          Log("Não conseguiu Gravar Integração Financeiro (Venda A Prazo)");
          return kIntegracaoInterrompida;
        }
      }
    } else if (c.Cliente != 0) {
      for (const auto& p : PagamentosLiquidos(cupom.Pagamentos)) {
        const std::string conta = contaEntrada(p.Forma);
        if (conta.empty()) return kIntegracaoInterrompida;
        if (!titulo(c.COO, c.Cliente, p.Forma, p.Sequencia, data, p.Valor.int64, conta,
                    HistoricoCupom(c.Filial, ecf, c.COO, p.Sequencia))) {
          Log("Não conseguiu Gravar Integração Financeiro (Venda Avista c/Cliente)");
          return kIntegracaoInterrompida;
        }
      }
    } else {
      for (const auto& p : PagamentosLiquidos(cupom.Pagamentos)) totaisAVista[p.Forma] += p.Valor.int64;
    }
  }
  for (const auto& [forma, valor] : totaisAVista) {
    const std::string conta = contaEntrada(forma);
    if (conta.empty()) return kIntegracaoInterrompida;
    if (!titulo(0, 0, forma, 0, data, valor, conta,
                Formata("Torvo ECF - Filial Nº %u, Caixa Nº %u, vendas Avista nessa data. ", emissora.Filial, ecf))) {
      Log("Não conseguiu Gravar Integração Financeiro (Venda A Vista Totalizadas)");
      return kIntegracaoInterrompida;
    }
  }
  if (!FazChaveQuemGerouIntegracaoECF("FN", data, ecf, emissora.Filial, dados::kIntegracaoFinanceira, numero))
    return kIntegracaoInterrompida;
  if (com::FAILED(transacao.Confirma())) {
    Log("Erro ao Setar Contas a Pagar e Receber no  Financeiro");
    return kIntegracaoInterrompida;
  }
  Log("Integração com Torvo Financeiro concluída...");
  return kIntegracaoCompleta;
}

}  // namespace qmx
