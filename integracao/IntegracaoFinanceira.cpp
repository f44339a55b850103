// The financial pass: a day's sales of an ECF as receivables, each part of
// each payment once (the rule is RecebimentosCupom's): installments and
// down payments as titles, cash sales to an identified customer a title per
// payment, the other cash sales one total per means of payment. Each title
// carries the entry account of its means; a card's or cheque's holder goes
// into its text.
//
// Each title is accounted by the financial module's accounting: debit the
// receivable of its means, credit the account the accounting pass debited
// for the sale (the ECF's sales clearing account for a sale on credit, its
// cash account for a cash sale), so that clearing account empties and no
// receivable is debited twice. A title in money (whose receivable is the
// cash account, the drawer) received on the day is settled on the day; a
// card's is owed by its administrator and a cheque's until it is
// deposited: they stay open, never cash. What the drawer took in and gave
// out besides (vouchers, kept change, withdrawals, floats) is booked by
// CGavetaECF. These postings are our choice: an accountant signs them
// because every sale is debited once, to where it is owed, and the cash
// account moves as the drawer does.
#include <map>
#include <set>
#include <vector>

#include "integracao/CamposIntegracao.h"
#include "integracao/GavetaECF.h"
#include "integracao/QMXIntegracao.h"
#include "integracao/RecebimentosCupom.h"
#include "integracao/TextosIntegracao.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/ServidoresIntegracaoCOM.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

using campos::Copia;
using campos::Formata;
using campos::Texto;

namespace {

std::string HistoricoCupom(std::uint16_t filial, std::uint16_t ecf, std::uint32_t cupom, std::uint32_t titulo) {
  return Formata("Torvo ECF - Filial Nº %u, Caixa Nº %u, Cupom Fiscal Nº %u, Titulo Nº %u", filial, ecf, cupom,
                 titulo);
}

// A card's or cheque's holder after the cupom's text, when the payment
// has one.
std::string HistoricoTitulo(const std::string& cupom, const REG_EC_CX_PAGAMENTOPS* pagamento) {
  if (!pagamento || (!pagamento->Titular[0] && !pagamento->Cidade[0] && !pagamento->Telefone[0] &&
                     !pagamento->Mensagem[0]))
    return cupom;
  return cupom + " - " +
         Formata("Titular: %s - Cidade: %s - Telefone: %s - Mensagem: %s", Texto(pagamento->Titular).c_str(),
                 Texto(pagamento->Cidade).c_str(), Texto(pagamento->Telefone).c_str(),
                 Texto(pagamento->Mensagem).c_str());
}

const char* FalhaDeGravacao(Recebimento::Tipo tipo) {
  switch (tipo) {
    case Recebimento::Tipo::Parcela:
    case Recebimento::Tipo::Entrada: return "Não conseguiu Gravar Integração Financeiro (Venda A Prazo)";
    case Recebimento::Tipo::AVistaCliente: return "Não conseguiu Gravar Integração Financeiro (Venda Avista c/Cliente)";
    case Recebimento::Tipo::AVistaTotal: break;
  }
  return "Não conseguiu Gravar Integração Financeiro (Venda A Vista Totalizadas)";
}

}  // namespace

std::int32_t CQMXIntegracao::IntegraFinanceiro(const REG_QMX_PARAMETROS_INTEGRACAO& parametros) {
  const NumeroDia data = DataDosParametros(parametros);
  const std::uint16_t ecf = parametros.nEcf;
  Log("Iniciando Integração com Torvo Financeiro...");
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
  if (!m_formas.Inicializada() || com::FAILED(m_formas.Lista(&listaFormas))) {
    Log("Erro ao Iniciar o Servidor de Cadastro de Formas de Pagamento");
    return kIntegracaoInterrompida;
  }
  if (!m_condicoes.Inicializada()) {
    Log("Erro ao Iniciar o Servidor de Cadastro de Condições de Pagamento");
    return kIntegracaoInterrompida;
  }
  std::vector<REG_CONDICAO_PAGAMENTOPS> listaCondicoes;
  if (com::FAILED(m_condicoes.Lista(&listaCondicoes))) {
    Log("Erro ao Ler as Condições de Pagamento");
    return kIntegracaoInterrompida;
  }
  if (!m_contabilizaBCR.Inicializada()) {
    Log("Erro ao Setar Contabilização a Pagar e a Receber");
    return kIntegracaoInterrompida;
  }
  REG_EMISSORPS emissora{};
  if (const auto fim = DiaAberto(ecf, data, &emissora, __LINE__)) return *fim;
  const std::string contaTransitoria = Texto(emissora.ContaTransitoriaVendas);
  const std::string contaCaixa = Texto(emissora.ContaCaixa);
  if (contaTransitoria.empty() || contaCaixa.empty()) {
    Log("Configure as Contas Transitória de Vendas e de Caixa no Cadastro de ECFs.");
    Log("Erro ao Setar Contas a Pagar e a Receber");
    return kIntegracaoInterrompida;
  }
  FormasPagamento formas;
  FormasDinheiro dinheiro;
  for (const auto& f : listaFormas) {
    formas[f.Codigo] = f;
    if (Texto(f.ContaEntradaFN) == contaCaixa) dinheiro.insert(f.Codigo);
  }
  CondicoesAVista aVista;
  for (const auto& c : listaCondicoes) aVista[c.Codigo] = c.AVista != 0;

  // The ECF is held before its day is read: a cupom cancelled by another
  // terminal is either in what is read here or waits for this pass.
  dados::CTransacaoDados transacao;
  std::int32_t numero = 0;
  if (!IniciaIntegracao(transacao, ecf, &numero)) {
    Log("Erro ao Iniciar o Servidor de Integrações");
    return kIntegracaoInterrompida;
  }
  if (!RemoveIntegracaoFN(data, ecf)) return kIntegracaoInterrompida;
  auto lidos = LeCupons(data, ecf);
  if (com::FAILED(lidos.busca)) {
    Log("Erro ao Buscar Ponteiros no Servidor de Caixa");
    return lidos.busca;
  }
  if (com::FAILED(lidos.leitura)) {
    Log("Erro ao Buscar Registros no Servidor de Caixa");
    return lidos.leitura;
  }

  // The entry account of a means of payment; empty (logged) when it has none.
  auto contaEntrada = [&](std::uint16_t forma) -> std::string {
    const auto achada = formas.find(forma);
    const std::string conta = achada == formas.end() ? std::string() : Texto(achada->second.ContaEntradaFN);
    if (conta.empty())
      Log(Formata("Não existe Conta Entrada FN para a Forma de Pagamento %s",
                  achada == formas.end() ? std::to_string(forma).c_str() : Texto(achada->second.Nome).c_str()));
    return conta;
  };
  // A customer named by a title must be in the register: checked once
  // each. The day's customers are read together first (a failure to read
  // them stops the pass); one the read together did not bring is read
  // alone.
  std::map<std::uint32_t, com::HRESULT> clientes;
  {
    std::set<std::uint32_t> codigos;
    for (const auto& cupom : lidos.cupons)
      if (cupom.Cupom.Cliente != 0 && !cupom.Cupom.Cancelado) codigos.insert(cupom.Cupom.Cliente);
    std::map<std::uint32_t, ZTCFRT> cadastrados;
    const com::HRESULT lidosJuntos = m_clientes.LeCadastros({codigos.begin(), codigos.end()}, &cadastrados);
    if (com::FAILED(lidosJuntos)) return Falhou(lidosJuntos, __LINE__);
    for (const auto& [codigo, registro] : cadastrados) clientes.emplace(codigo, com::S_OK);
  }
  auto clienteCadastrado = [&](std::uint32_t cliente) {
    auto lido = clientes.find(cliente);
    if (lido == clientes.end()) {
      ZTCFRT registro{};
      lido = clientes.emplace(cliente, m_clientes.Le(cliente, &registro)).first;
    }
    return lido->second;
  };
  // Writes a title and its entry; false (logged) stops the pass.
  auto titulo = [&](std::uint32_t cupom, std::uint32_t cliente, const Recebimento& r, const std::string& conta,
                    const std::string& historico, const std::string& contaDaVenda) {
    REG_TITULO_RECEBERPS t{};
    t.Filial = emissora.Filial;
    t.Data = data;
    t.Emissora = ecf;
    t.Cupom = cupom;
    t.Cliente = cliente;
    t.Forma = r.forma;
    t.TipoDocumento = r.tipoDocumento;
    t.Numero = r.numero;
    t.Vencimento = r.vencimento ? r.vencimento : data;
    t.Valor = CY{r.valor};
    Copia(t.Conta, conta);
    Copia(t.Historico, historico);
    t.Chave = numero;
    // Money taken at the till on the day is in the drawer: settled.
    if (conta == contaCaixa && t.Vencimento == data) t.DataLiquidacao = data;
    REG_CONTABILIDADEPS l{};
    l.Filial = emissora.Filial;
    l.Data = data;
    Copia(l.ContaDebito, conta);
    Copia(l.ContaCredito, contaDaVenda);
    l.Valor = t.Valor;
    Copia(l.Historico, historico);
    Copia(l.Origem, "FN");
    l.Chave = numero;
    l.Emissora = ecf;
    const bool contabiliza = conta != contaDaVenda;
    std::uint16_t codigo = 0;
    if (contabiliza && (com::FAILED(m_contabilizaBCR.TestaContabilizacao(l, &codigo)) || codigo != 0)) {
      Log("Erro ao Setar Contabilização a Pagar e a Receber");
      if (codigo != 0) {
        const ResultadoContabil resultado = TraduzResultadoContabil(codigo);
        Log(Formata("%s (FN %u)", resultado.texto.c_str(), resultado.numero));
      }
      return false;
    }
    if (com::FAILED(m_receber.GravaTitulo(t))) {
      Log(FalhaDeGravacao(r.tipo));
      return false;
    }
    if (contabiliza && (com::FAILED(m_contabilizaBCR.Contabiliza(l, &codigo)) || codigo != 0)) {
      Log("Erro ao Setar Contabilização a Pagar e Receber");
      return false;
    }
    return true;
  };

  // The printer's means of a voucher issued instead of change and of the
  // coins of change kept; the Z reduction's totalizers of a withdrawal and
  // of a float.
  constexpr std::uint16_t kContravale = 252, kArredondamento = 253;
  constexpr std::uint8_t kSangria = 253, kSuprimento = 254;
  CGavetaECF gaveta(emissora, data, numero);
  std::map<std::uint16_t, std::int64_t> totaisAVista;  // cash sales without customer, per means
  std::vector<Recebimento> recebimentos;
  // The operator may stop the pass between two cupons: what was done
  // stays done, the rest stays pending.
  ui::CProgresso progresso("Integração com Torvo Financeiro", ui::CProgresso::Unidade::Cupons,
                           static_cast<std::int64_t>(lidos.cupons.size()));
  for (const auto& cupom : lidos.cupons) {
    progresso.Avanca();
    const REG_EC_CXPS& c = cupom.Cupom;
    if (!RecebimentosDoCupom(cupom, formas, aVista, dinheiro, recebimentos)) {
      // Installments beyond what was received: nothing of the day is
      // posted until the cupom is put right.
      Log(Formata("Cupom Fiscal Nº %u: parcelas maiores que os pagamentos.", c.COO));
      Log(FalhaDeGravacao(Recebimento::Tipo::Parcela));
      return kIntegracaoInterrompida;
    }
    if (c.Cancelado) continue;
    for (const auto& p : cupom.Pagamentos) {
      if (p.Forma == kContravale) gaveta.Acrescenta(CGavetaECF::Tipo::Contravales, p.Valor.int64);
      if (p.Forma == kArredondamento) gaveta.Acrescenta(CGavetaECF::Tipo::Arredondamentos, p.Valor.int64);
    }
    const std::string& contaDaVenda = VendaAPrazo(cupom, aVista) ? contaTransitoria : contaCaixa;
    for (const auto& r : recebimentos) {
      if (r.tipo == Recebimento::Tipo::AVistaTotal) {
        totaisAVista[r.forma] += r.valor;
        continue;
      }
      if (c.Cliente != 0) {
        const com::HRESULT cliente = clienteCadastrado(c.Cliente);
        if (cliente == dados::QMX_E_REGISTRO_INEXISTENTE) {
          // A title of nobody cannot be collected: the customer goes back
          // into the register (or the cupom is put right) first.
          Log(Formata("Cupom Fiscal Nº %u: o Cliente %u não está no Cadastro de Clientes; o título não foi gravado.",
                      c.COO, c.Cliente));
          Log(FalhaDeGravacao(r.tipo));
          return kIntegracaoInterrompida;
        }
        if (com::FAILED(cliente)) return Falhou(cliente, __LINE__);
      }
      const std::string conta = contaEntrada(r.forma);
      if (conta.empty()) return kIntegracaoInterrompida;
      if (!titulo(c.COO, c.Cliente, r, conta, HistoricoTitulo(HistoricoCupom(c.Filial, ecf, c.COO, r.numero), r.pagamento),
                  contaDaVenda))
        return kIntegracaoInterrompida;
    }
  }
  for (const auto& [forma, valor] : totaisAVista) {
    const std::string conta = contaEntrada(forma);
    if (conta.empty()) return kIntegracaoInterrompida;
    Recebimento total;
    total.forma = forma;
    total.valor = valor;
    if (!titulo(0, 0, total, conta,
                Formata("Torvo ECF - Filial Nº %u, Caixa Nº %u, vendas Avista nessa data. ", emissora.Filial, ecf),
                contaCaixa))
      return kIntegracaoInterrompida;
  }
  // The day's withdrawals and floats, as the Z reduction totalled them (a
  // day not yet reduced has none to book).
  REG_REDUCAO_ZPS reducao{};
  std::vector<REG_REDUCAO_Z_ALIQUOTAPS> aliquotas;
  std::vector<REG_TOTALIZADOR_NAO_FISCALPS> naoFiscais;
  const com::HRESULT z = m_cupons.LeReducaoZ(ecf, data, &reducao, &aliquotas, &naoFiscais);
  if (com::FAILED(z) && z != dados::QMX_E_REGISTRO_INEXISTENTE) return Falhou(z, __LINE__);
  for (const auto& t : naoFiscais) {
    if (t.Codigo == kSangria) gaveta.Acrescenta(CGavetaECF::Tipo::Sangrias, t.Valor.int64);
    if (t.Codigo == kSuprimento) gaveta.Acrescenta(CGavetaECF::Tipo::Suprimentos, t.Valor.int64);
  }
  std::string falta;
  const auto lancamentosGaveta = gaveta.Lancamentos(&falta);
  if (!falta.empty()) {
    Log(falta);
    Log("Erro ao Setar Contas a Pagar e a Receber");
    return kIntegracaoInterrompida;
  }
  for (const auto& l : lancamentosGaveta) {
    std::uint16_t codigo = 0;
    if (com::FAILED(m_contabilizaBCR.Contabiliza(l, &codigo)) || codigo != 0) {
      Log("Erro ao Setar as Contas a Receber e a Pagar no Servidor de Integrações");
      if (codigo != 0) {
        const ResultadoContabil resultado = TraduzResultadoContabil(codigo);
        Log(Formata("%s (FN %u)", resultado.texto.c_str(), resultado.numero));
      }
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
