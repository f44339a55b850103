// The accounting pass: a day's sales of an ECF, totalled per product and
// per service, posted as accounting entries.
//
// Posting rule: each product or service gets one entry per kind of sale
// (cash, credit) for the day, crediting the ECF's classification account of
// its class. The debit is where the sale is owed: a credit sale (the rule
// the financial pass shares, VendaAPrazo) to the ECF's sales clearing
// account, which the financial pass empties into each title's receivable;
// a cash sale to the ECF's cash account. An ECF without those accounts
// debits the debit account of its accounting grid for the class, as
// before. (A product's own grid is the stock module's.) Classes: services;
// products under tax substitution (letter F); products made by the
// company; the other goods. These postings are our choice, made so that no
// sale is debited twice once the titles are accounted.
#include <map>
#include <set>

#include "plataforma/calendario/DataCodificada.h"
#include "integracao/CamposIntegracao.h"
#include "integracao/QMXIntegracao.h"
#include "integracao/RateioGerencial.h"
#include "integracao/RecebimentosCupom.h"
#include "integracao/TextosIntegracao.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

using campos::Copia;
using campos::Formata;
using campos::Texto;

namespace {

enum Classe { Produtos, Mercadorias, Substituicao, Servicos };

struct Totais {
  Classe classe = Mercadorias;
  std::int64_t aVista = 0;
  std::int64_t aPrazo = 0;
};

constexpr const char* kErroGravar = "Erro ao Gravar Lançamentos no Servidor de Integrações";

}  // namespace

std::int32_t CQMXIntegracao::IntegraContabilidade(const REG_QMX_PARAMETROS_INTEGRACAO& parametros) {
  const NumeroDia data = DataDosParametros(parametros);
  const std::uint16_t ecf = parametros.nEcf;
  Log("Integrando com Contabilidade");

  REG_EMISSORPS emissora{};
  if (const auto fim = DiaAberto(ecf, data, &emissora, __LINE__)) return *fim;
  const std::uint16_t grades[] = {emissora.GradeProdutos, emissora.GradeMercadorias, emissora.GradeSubstituicao,
                                  emissora.GradeServicos};
  const char* const faltaGrade[] = {"Configure as Grades Contábeis para Produtos no Cadastro de ECFs.",
                                    "Configure as Grades Contábeis para Mercadorias no Cadastro de ECFs.",
                                    "Configure as Grades Contábeis para Substituição Tributária no Cadastro de ECFs.",
                                    "Configure as Grades Contábeis para Serviços no Cadastro de ECFs."};
  for (int i = 0; i < 4; ++i) {
    if (grades[i] == 0) {
      Log(faltaGrade[i]);
      return kIntegracaoInterrompida;
    }
  }
  const std::string contas[] = {Texto(emissora.ContaProdutos), Texto(emissora.ContaMercadorias),
                                Texto(emissora.ContaSubstituicao), Texto(emissora.ContaServicos)};
  const char* const faltaConta[] = {
      "Configure a Conta Contábil Classificação Protutos no Cadastro de ECFs",
      "Configure a Conta Contábil Classificação Mercadorias no Cadastro de ECFs",
      "Configure a Conta Contábil Classificação Substituição Tributária no Cadastro de ECFs",
      "Configure a Conta Contábil Classificação Serviços no Cadastro de ECFs"};
  for (int i = 0; i < 4; ++i) {
    if (contas[i].empty()) {
      Log(faltaConta[i]);
      return kIntegracaoInterrompida;
    }
  }

  std::vector<REG_CONDICAO_PAGAMENTOPS> condicoes;
  if (const com::HRESULT lidas = m_condicoes.Lista(&condicoes); com::FAILED(lidas)) {
    Log("Falha na comunicação com o Servidor de Condições de Pagamento");
    return lidas;
  }
  CondicoesAVista aVista;
  for (const auto& c : condicoes) aVista[c.Codigo] = c.AVista != 0;

  // The ECF is held before its day is read: a cupom cancelled by another
  // terminal is either in what is read here or waits for this pass.
  dados::CTransacaoDados transacao;
  std::int32_t numero = 0;
  if (!IniciaIntegracao(transacao, ecf, &numero)) {
    Log(kErroGravar);
    return kIntegracaoInterrompida;
  }
  auto lidos = LeCupons(data, ecf);
  if (com::FAILED(lidos.busca) || com::FAILED(lidos.leitura)) {
    Log("Falha na comunicação com o Servidor de Caixa");
    return com::FAILED(lidos.busca) ? lidos.busca : lidos.leitura;
  }

  // The day's totals per product and per service.
  std::map<std::uint32_t, Totais> produtos;
  std::map<std::uint32_t, Totais> servicos;
  // The operator may stop the pass between two cupons: what was done
  // stays done, the rest stays pending.
  ui::CProgresso progresso("Integração com Torvo Contábil", ui::CProgresso::Unidade::Cupons,
                           static_cast<std::int64_t>(lidos.cupons.size()));
  for (const auto& cupom : lidos.cupons) {
    progresso.Avanca();
    if (cupom.Cupom.Cancelado) continue;
    const bool prazo = VendaAPrazo(cupom, aVista);
    for (const auto& item : cupom.Itens) {
      if (item.Cancelado) continue;
      Totais& t = item.Servico ? servicos[item.Codigo] : produtos[item.Codigo];
      if (item.Servico) t.classe = Servicos;
      else if (item.TipoTributacao == 'F') t.classe = Substituicao;
      (prazo ? t.aPrazo : t.aVista) += item.ValorTotal.int64;
    }
  }

  // What an earlier run of this pass posted for the day goes first.
  if (!RemoveIntegracao("CN", data, ecf)) {
    Log("Erro ao Setar Lançamentos Contábeis no Servidor de Integrações");
    return kIntegracaoInterrompida;
  }

  // The accounts of a class of items (its grid's debit, or the ECF's cash
  // and clearing accounts; the class's credit) and their managerial text,
  // read from the grid and the chart once per pass: every product of a
  // class posts to the same ones. Null (logged) stops the pass.
  struct ContasDaClasse {
    std::string debitos[2];  // on the spot, on credit
    std::string gerencial;
  };
  std::map<int, ContasDaClasse> lidas;
  // The accounts the ECF names are read together, once, when there is
  // anything to post; an account not brought (one a grid names, or one the
  // chart lacks) is read alone, and a failure of the read together is that
  // of every account, as its own read's would have been.
  std::map<std::string, REG_PLANO_CONTAPS> contasLidas;
  com::HRESULT falhaContas = com::S_OK;
  if (!produtos.empty() || !servicos.empty()) {
    std::set<std::string> codigos(std::begin(contas), std::end(contas));
    for (const std::string& codigo : {Texto(emissora.ContaCaixa), Texto(emissora.ContaTransitoriaVendas)})
      if (!codigo.empty()) codigos.insert(codigo);
    falhaContas = m_plano.LeContas({codigos.begin(), codigos.end()}, &contasLidas);
  }
  const auto leConta = [&](const std::string& codigo, REG_PLANO_CONTAPS* registro) {
    if (com::FAILED(falhaContas)) return falhaContas;
    if (const auto lida = contasLidas.find(codigo); lida != contasLidas.end()) {
      *registro = lida->second;
      return com::S_OK;
    }
    const com::HRESULT lida = m_plano.Le(codigo, registro);
    if (com::SUCCEEDED(lida)) contasLidas.emplace(codigo, *registro);
    return lida;
  };
  auto contasDa = [&](int classe) -> const ContasDaClasse* {
    if (const auto lida = lidas.find(classe); lida != lidas.end()) return &lida->second;
    REG_GRADE_CONTABILPS grade{};
    if (com::FAILED(m_integracao.LeGrade(grades[classe], &grade)) || grade.ContaDebito[0] == '\0') {
      Log("Erro ao ler a Grade Contábil");
      return nullptr;
    }
    const std::string contaTransitoria = Texto(emissora.ContaTransitoriaVendas);
    const std::string contaCaixa = Texto(emissora.ContaCaixa);
    ContasDaClasse c{{contaCaixa.empty() ? Texto(grade.ContaDebito) : contaCaixa,
                      contaTransitoria.empty() ? Texto(grade.ContaDebito) : contaTransitoria},
                     {}};
    const std::string& credito = contas[classe];
    REG_PLANO_CONTAPS contaCredito{};
    REG_PLANO_CONTAPS contasDebito[2]{};
    // An account the chart lacks is named, with the register that gives
    // it; only a failure of the server is one of communication.
    const struct {
      const std::string& codigo;
      REG_PLANO_CONTAPS* registro;
      const char* papel;
    } lidasDoPlano[] = {{c.debitos[0], &contasDebito[0], "de caixa (vendas à vista)"},
                        {c.debitos[1], &contasDebito[1], "transitória de vendas (vendas a prazo)"},
                        {credito, &contaCredito, "de classificação das vendas"}};
    for (const auto& l : lidasDoPlano) {
      const com::HRESULT lida = leConta(l.codigo, l.registro);
      if (lida == dados::QMX_E_REGISTRO_INEXISTENTE) {
        Log(Formata("A conta contábil %s, conta %s do ECF %u, não existe no Plano de Contas.", l.codigo.c_str(),
                    l.papel, ecf));
        return nullptr;
      }
      if (com::FAILED(lida)) {
        Log("Falha na comunicação com o Servidor de Planos");
        return nullptr;
      }
    }
    // No managerial account is known to the accounting pass: an account
    // that requires one cannot be posted.
    CRateioGerencial rateio;
    rateio.Inicializa({});
    if (!rateio.SetConta(c.debitos[0], contasDebito[0].ExigeGerencial != 0) ||
        !rateio.SetConta(c.debitos[1], contasDebito[1].ExigeGerencial != 0) ||
        !rateio.SetConta(credito, contaCredito.ExigeGerencial != 0)) {
      Log("Erro ao Setar Contas no Rateio Gerencial");
      return nullptr;
    }
    c.gerencial = rateio.Gerencial();
    return &lidas.emplace(classe, std::move(c)).first->second;
  };

  // Posts the totals of one product or service; false (logged) stops the pass.
  auto posta = [&](std::uint32_t codigo, const Totais& t, const std::string& descricao) {
    const ContasDaClasse* classe = contasDa(t.classe);
    if (!classe) return false;
    const std::string(&debitos)[2] = classe->debitos;
    const std::string& credito = contas[t.classe];
    for (const bool prazo : {false, true}) {
      const std::int64_t valor = prazo ? t.aPrazo : t.aVista;
      if (valor == 0) continue;
      REG_CONTABILIDADEPS lancamento{};
      lancamento.Filial = emissora.Filial;
      lancamento.Data = data;
      Copia(lancamento.ContaDebito, debitos[prazo]);
      Copia(lancamento.ContaCredito, credito);
      lancamento.Valor = CY{valor};
      Copia(lancamento.Historico, Formata("Vendas %s ECF %u - %u %s", prazo ? "a prazo" : "à vista", ecf, codigo,
                                          descricao.c_str()));
      Copia(lancamento.Gerencial, classe->gerencial);
      Copia(lancamento.Origem, "CN");
      lancamento.Chave = numero;
      lancamento.Emissora = ecf;
      std::uint16_t resultado = 0;
      if (com::FAILED(m_integracao.GravaLancamento(lancamento, &resultado))) {
        Log(kErroGravar);
        return false;
      }
      if (resultado != 0) {
        const ResultadoContabil r = TraduzResultadoContabil(resultado);
        Log(Formata("%s (CN %u)", r.texto.c_str(), r.numero));
        return false;
      }
    }
    return true;
  };

  Log("Integrando valores totalizados dos Produtos.");
  // Read together; one not brought is read alone, and a failure of the
  // read together is the first product's, as its own read's would be.
  std::map<std::uint32_t, REG_PRODUTOPS> lidosJuntos;
  com::HRESULT falhaJuntos = com::S_OK;
  {
    std::vector<std::uint32_t> codigos;
    for (const auto& [codigo, totais] : produtos) codigos.push_back(codigo);
    falhaJuntos = m_produtos.LeProdutos(codigos, emissora.Filial, &lidosJuntos);
  }
  for (auto& [codigo, totais] : produtos) {
    REG_PRODUTOPS produto{};
    const auto junto = lidosJuntos.find(codigo);
    if (junto != lidosJuntos.end()) produto = junto->second;
    if (com::FAILED(falhaJuntos) ||
        (junto == lidosJuntos.end() && com::FAILED(m_produtos.Le(codigo, emissora.Filial, &produto)))) {
      Log("Erro ao Ler o Cadastro de Produtos");
      return kIntegracaoInterrompida;
    }
    if (totais.classe == Mercadorias && produto.Producao) totais.classe = Produtos;
    if (!posta(codigo, totais, Texto(produto.Descricao))) return kIntegracaoInterrompida;
  }
  Log("Integrando valores totalizados dos Serviços.");
  for (const auto& [codigo, totais] : servicos) {
    REG_SERVICOSPS servico{};
    if (com::FAILED(m_produtos.LeServico(codigo, &servico))) {
      Log("Erro ao Ler o Cadastro de Produtos");
      return kIntegracaoInterrompida;
    }
    if (!posta(codigo, totais, Texto(servico.Descricao))) return kIntegracaoInterrompida;
  }

  if (!FazChaveQuemGerouIntegracaoECF("CN", data, ecf, emissora.Filial, dados::kIntegracaoContabil, numero))
    return kIntegracaoInterrompida;
  if (com::FAILED(transacao.Confirma())) {
    Log(kErroGravar);
    return kIntegracaoInterrompida;
  }
  Log("Finalizando Integrações com Contabilidade.");
  return kIntegracaoCompleta;
}

}  // namespace qmx
