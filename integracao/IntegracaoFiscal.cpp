// The fiscal pass: a day's items of an ECF grouped by product (or service),
// tax letter and rate into lines of the fiscal book, from what each item
// recorded when it was sold (its tax letter, rate and tax situation), never
// from the product's register as it stands today. The ECF's cupons make
// the lines of model 2D, whose sums per rate are the Z reduction's
// totalizers; the consumer notas written while the ECF was out of order
// make lines of their own, model 02. ICMS is worked out per rate, as the
// reduction totals it: the rate on the day's base of that rate, shared
// among the rate's lines so that they add up to it to the cent.
#include <cstring>
#include <map>
#include <set>
#include <tuple>

#include "calculo/Inteiro128.h"
#include "integracao/CamposIntegracao.h"
#include "integracao/QMXIntegracao.h"
#include "integracao/TextosIntegracao.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

using campos::Copia;
using campos::Formata;
using campos::Texto;

namespace {

// The ECF tax letters a product may carry: taxed, substitution, exempt,
// not taxed.
bool SituacaoECFValida(char letra) { return letra == 'T' || letra == 'F' || letra == 'I' || letra == 'N'; }

// A PIS or COFINS rate of a product in force on the date (0: none).
std::uint16_t AliquotaEmVigor(const std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS>& aliquotas, std::uint8_t tipo,
                              NumeroDia data) {
  std::uint16_t aliquota = 0;
  for (const auto& a : aliquotas)
    if (a.Tipo == tipo && a.Inicio <= data && (a.Fim == 0 || a.Fim >= data)) aliquota = a.Aliquota;
  return aliquota;
}

// ICMS of a base at a rate in hundredths of a percent (values hold four
// decimals): the rate's share to the fourth decimal, halves to even, then
// the cent as the SPED extract writes it (the decimals past it dropped).
std::int64_t ICMS(std::int64_t base, std::uint16_t aliquota) {
  const qmx::Inteiro128 produto = static_cast<qmx::Inteiro128>(base) * aliquota;
  qmx::Inteiro128 quatro = produto / 10000;
  const qmx::Inteiro128 resto = produto % 10000;
  const qmx::Inteiro128 dobro = (resto < 0 ? -resto : resto) * 2;
  if (dobro > 10000 || (dobro == 10000 && quatro % 2 != 0)) quatro += produto < 0 ? -1 : 1;
  return static_cast<std::int64_t>(quatro - quatro % 100);
}

// The tax situation of an item sold before the items kept theirs: the
// letter's own (origin 0).
std::string SituacaoDaLetra(char letra) {
  switch (letra) {
    case 'F': return "060";
    case 'I': return "040";
    case 'N': return "041";
    default: return "000";
  }
}

}  // namespace

std::int32_t CQMXIntegracao::IntegraFiscal(const REG_QMX_PARAMETROS_INTEGRACAO& parametros) {
  const NumeroDia data = DataDosParametros(parametros);
  const std::uint16_t ecf = parametros.nEcf;
  if (!m_integracao.Inicializada()) {
    Log("Erro ao Iniciar o Servidor de Integrações");
    return kIntegracaoInterrompida;
  }
  REG_EMISSORPS emissora{};
  if (const auto fim = DiaAberto(ecf, data, &emissora, __LINE__)) return *fim;
  dados::CTransacaoDados transacao;
  std::int32_t numero = 0;
  if (!IniciaIntegracao(transacao, ecf, &numero)) {
    Log("Falha na Comunicação do Servidor de Integrações");
    return kIntegracaoInterrompida;
  }
  if (!RemoveIntegracao("EF", data, ecf)) {
    Log("Falha ao excluir integrações já efetuadas - Servidor de Integrações");
    return kIntegracaoInterrompida;
  }
  auto lidos = LeCupons(data, ecf);
  if (com::FAILED(lidos.busca)) {
    Log("Erro ao Buscar Ponteiro no Servidor de Caixa");
    return lidos.busca;
  }
  if (com::FAILED(lidos.leitura)) {
    Log("Erro ao Buscar Registros no Servidor de Caixa");
    return lidos.leitura;
  }
  REG_EC_MESTREPS mestre{};
  if (const com::HRESULT lido = m_mestre.Le(&mestre); com::FAILED(lido)) {
    ReportaFalha(lido, __LINE__);
    return lido;
  }

  // Each product or service is read once: its record, unit and PIS and
  // COFINS rates. (Its tax letter and situation are the item's.)
  struct Cadastro {
    bool producao = false;
    std::string situacao;  // the register's, for items sold before the items kept theirs
    std::string unidade;
    std::uint16_t pis = 0;
    std::uint16_t cofins = 0;
  };
  std::map<std::pair<bool, std::uint32_t>, Cadastro> cadastros;
  // The day's products are read together first. One the reads together
  // did not bring is read alone; when a read together failed, each
  // product it was for fails as its own read would have, with its words.
  std::map<std::uint32_t, REG_PRODUTOPS> produtosLidos, fiscaisLidos;
  std::map<std::uint16_t, REG_UNIDADES_MEDIDAPS> unidadesLidas;
  std::map<std::uint32_t, std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS>> aliquotasLidas;
  com::HRESULT falhaProdutos = com::S_OK, falhaFiscais = com::S_OK, falhaUnidades = com::S_OK,
               falhaAliquotas = com::S_OK;
  {
    std::set<std::uint32_t> codigos;
    for (const auto& cupom : lidos.cupons)
      if (!cupom.Cupom.Cancelado)
        for (const auto& item : cupom.Itens)
          if (!item.Cancelado && !item.Servico && item.Codigo != 0) codigos.insert(item.Codigo);
    const std::vector<std::uint32_t> lista(codigos.begin(), codigos.end());
    falhaProdutos = m_produtos.LeProdutos(lista, 0, &produtosLidos);
    falhaFiscais = m_produtos.LeProdutos(lista, emissora.Filial, &fiscaisLidos);
    falhaAliquotas = m_produtos.LePisCofinsDeVarios(lista, &aliquotasLidas);
    std::set<std::uint16_t> unidades;
    for (const auto& [codigo, produto] : produtosLidos)
      if (produto.Unidade != 0) unidades.insert(produto.Unidade);
    falhaUnidades = m_produtos.LeUnidades({unidades.begin(), unidades.end()}, &unidadesLidas);
  }
  const auto jaLido = [](const auto& lidos, com::HRESULT falha, auto codigo, auto* registro,
                         auto&& leSozinho) -> com::HRESULT {
    if (com::FAILED(falha)) return falha;
    if (const auto achado = lidos.find(codigo); achado != lidos.end()) {
      *registro = achado->second;
      return com::S_OK;
    }
    return leSozinho();
  };
  auto leCadastro = [&](const REG_EC_CX_CIPS& item) -> const Cadastro* {
    const auto chave = std::make_pair(item.Servico != 0, item.Codigo);
    if (auto achado = cadastros.find(chave); achado != cadastros.end()) return &achado->second;
    Cadastro c;
    if (item.Servico) {
      REG_SERVICOSPS servico{};
      if (com::FAILED(m_produtos.LeServico(item.Codigo, &servico))) {
        Log("Erro ao Ler Serviços");
        return nullptr;
      }
      REG_UNIDADES_MEDIDA_SERVICOSPS unidade{};
      if (servico.Unidade != 0 && com::FAILED(m_produtos.LeUnidadeServico(servico.Unidade, &unidade))) {
        Log("Erro ao Ler Unidade de Medida dos Produtos");
        return nullptr;
      }
      // The service's PIS and COFINS rates are read on their own, as the
      // tax server keeps them.
      if (com::FAILED(m_produtos.LePisCofinsServico(item.Codigo, &c.pis, &c.cofins))) {
        Log("Erro ao ler PIS/COFINS de serviço.");
        return nullptr;
      }
      c.unidade = Texto(unidade.Sigla);
    } else {
      const std::string codigo = std::to_string(item.Codigo);
      // The product, then its taxes in the branch.
      REG_PRODUTOPS produto{};
      if (com::FAILED(jaLido(produtosLidos, falhaProdutos, item.Codigo, &produto,
                             [&] { return m_produtos.LeLight(item.Codigo, &produto); }))) {
        Log("Erro ao Ler Produtos");
        return nullptr;
      }
      REG_PRODUTOPS fiscal{};
      if (com::FAILED(jaLido(fiscaisLidos, falhaFiscais, item.Codigo, &fiscal,
                             [&] { return m_produtos.Le(item.Codigo, emissora.Filial, &fiscal); }))) {
        Log(Formata("Erro ao buscar impostos por filial do produto %s.", codigo.c_str()));
        return nullptr;
      }
      if (fiscal.Filial == 0) {
        Log(Formata("Erro ao buscar informações fiscais por filial do produto %s.", codigo.c_str()));
        return nullptr;
      }
      if (!SituacaoECFValida(static_cast<char>(item.TipoTributacao))) {
        Log(Formata("Situação Tributária ECF inválida;\n\nProduto: %s - %s\n\nFavor acessar o cadastro de produtos "
                    "e informar \nesse campo antes de efetuar as integrações.",
                    codigo.c_str(), Texto(produto.Descricao).c_str()));
        return nullptr;
      }
      REG_UNIDADES_MEDIDAPS unidade{};
      if (produto.Unidade != 0 && com::FAILED(jaLido(unidadesLidas, falhaUnidades, produto.Unidade, &unidade, [&] {
            return m_produtos.LeUnidade(produto.Unidade, &unidade);
          }))) {
        Log(Formata("Erro ao ler unidade de medida do produto %s.", codigo.c_str()));
        return nullptr;
      }
      std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS> aliquotas;
      if (com::FAILED(jaLido(aliquotasLidas, falhaAliquotas, item.Codigo, &aliquotas,
                             [&] { return m_produtos.LePisCofins(item.Codigo, &aliquotas); }))) {
        Log("Não foi possível ler o arquivo de PIS/COFINS.");
        return nullptr;
      }
      c.producao = produto.Producao != 0;
      c.situacao = Texto(fiscal.SituacaoTributaria);
      c.unidade = Texto(unidade.Sigla);
      c.pis = AliquotaEmVigor(aliquotas, 1, data);
      c.cofins = AliquotaEmVigor(aliquotas, 2, data);
    }
    return &cadastros.emplace(chave, c).first->second;
  };

  // The book's lines: by model (the ECF's cupons first), service flag,
  // code, tax letter and rate.
  std::map<std::tuple<bool, bool, std::uint32_t, char, std::uint16_t>, REG_LIVRO_FISCALPS> linhas;
  // The operator may stop the pass between two cupons: what was done
  // stays done, the rest stays pending.
  ui::CProgresso progresso("Integração com Torvo Escrita Fiscal", ui::CProgresso::Unidade::Cupons,
                           static_cast<std::int64_t>(lidos.cupons.size()));
  for (const auto& cupom : lidos.cupons) {
    progresso.Avanca();
    if (cupom.Cupom.Cancelado) continue;
    for (const auto& item : cupom.Itens) {
      if (item.Cancelado) continue;
      if (item.Codigo == 0) {
        Log("Produto com código zerado.");
        return kIntegracaoInterrompida;
      }
      const Cadastro* cadastro = leCadastro(item);
      if (!cadastro) return kIntegracaoInterrompida;
      const bool nota = cupom.Cupom.Status == QMX_STATUS_NOTA_CONSUMIDOR;
      const char letra = item.Servico ? 'S' : static_cast<char>(item.TipoTributacao);
      auto& linha = linhas[{nota, item.Servico != 0, item.Codigo, letra, item.AliquotaCentesimos}];
      if (linha.Natureza == 0 && linha.Produto == 0 && linha.Servico == 0) {
        linha.Filial = emissora.Filial;
        linha.Data = data;
        linha.Emissora = ecf;
        linha.Natureza = item.Servico        ? mestre.NaturezaServico
                         : letra == 'F'      ? mestre.NaturezaVendaST
                         : cadastro->producao ? mestre.NaturezaProducao
                                              : mestre.NaturezaVenda;
        (item.Servico ? linha.Servico : linha.Produto) = item.Codigo;
        linha.Aliquota = item.AliquotaCentesimos;
        if (!item.Servico)
          Copia(linha.SituacaoTributaria, item.CST[0] ? Texto(item.CST) : SituacaoDaLetra(letra));
        Copia(linha.Unidade, cadastro->unidade);
        linha.AliquotaPIS = cadastro->pis;
        linha.AliquotaCOFINS = cadastro->cofins;
        Copia(linha.Historico, "Integração - Torvo ECF");
        linha.Chave = numero;
        Copia(linha.Modelo, nota ? "02" : "2D");
        linha.Tributacao = letra;
      }
      linha.Quantidade.int64 += item.Quantidade.int64;
      linha.Valor.int64 += item.ValorTotal.int64;
      if (letra == 'T') linha.BaseICMS.int64 += item.ValorTotal.int64;
    }
  }

  // ICMS per model and rate: each line takes what the rate on the base so
  // far comes to, less what the lines before it took.
  std::map<std::pair<bool, std::uint16_t>, std::pair<std::int64_t, std::int64_t>> acumulado;  // base, ICMS
  for (auto& [chave, linha] : linhas) {
    if (linha.Tributacao != 'T') continue;
    auto& [base, icms] = acumulado[{std::get<0>(chave), linha.Aliquota}];
    base += linha.BaseICMS.int64;
    const std::int64_t ate = ICMS(base, linha.Aliquota);
    linha.ICMS = CY{ate - icms};
    icms = ate;
  }

  std::map<std::uint16_t, REG_NATUREZAPS> naturezas;
  std::vector<REG_LIVRO_FISCALPS> livro;
  livro.reserve(linhas.size());
  for (auto& [chave, linha] : linhas) {
    if (linha.Natureza != 0) {
      auto natureza = naturezas.find(linha.Natureza);
      if (natureza == naturezas.end()) {
        REG_NATUREZAPS lida{};
        const com::HRESULT resultado = m_naturezas.Le(linha.Natureza, &lida);
        if (com::FAILED(resultado) && resultado != dados::QMX_E_REGISTRO_INEXISTENTE) {
          Log("Erro ao Ler Naturezas de Operação");
          return kIntegracaoInterrompida;
        }
        natureza = naturezas.emplace(linha.Natureza, lida).first;
      }
      std::memcpy(linha.Cfop, natureza->second.Cfop, sizeof linha.Cfop);
    }
    livro.push_back(linha);
  }
  std::size_t gravados = 0;
  std::uint16_t status = 0;
  if (com::FAILED(m_integracao.GravaItensLivro(livro, &gravados, &status))) {
    Log("Erro ao Gravar Integração.");
    return kIntegracaoInterrompida;
  }
  if (status != 0) {
    Log(TextoStatusFiscal(status));
    return kIntegracaoInterrompida;
  }
  if (!FazChaveQuemGerouIntegracaoECF("EF", data, ecf, emissora.Filial, dados::kIntegracaoFiscal, numero))
    return kIntegracaoInterrompida;
  if (com::FAILED(transacao.Confirma())) {
    Log("Erro ao Gravar Integração.");
    return kIntegracaoInterrompida;
  }
  return kIntegracaoCompleta;
}

}  // namespace qmx
