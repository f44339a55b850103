// The stock pass and the stock integration of a single cupom.
#include <cstdio>
#include <cstring>
#include <limits>

#include "integracao/CamposIntegracao.h"
#include "integracao/CustoMedio.h"
#include "integracao/ESContabilizacao.h"
#include "integracao/QMXIntegracao.h"
#include "plataforma/dados/ServidoresIntegracaoCOM.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

using campos::Formata;

namespace {

constexpr const char* kTituloPendencias = "Pendências na Integração com Torvo Estoque";
constexpr const char* kTituloContabilizacao = "Pendências na Contabilização ECF - (Estoque/Contábil)";


// The items that move stock: not excluded, not services, not cancelled.
bool MovimentaEstoque(const REG_EC_CX_CIPS& item) { return !item.Excluido && !item.Servico && !item.Cancelado; }

bool TemItemPendente(const dados::CupomCompleto& cupom) {
  for (const auto& item : cupom.Itens)
    if (MovimentaEstoque(item) && item.IntegradoEstoque == 0) return true;
  return false;
}

// The cupom's document key for the movements' server: its number and date.
std::string DocumentoDoCupom(const REG_EC_CXPS& cupom) {
  return Formata("CF%06u-%s", cupom.COO, TextoData(cupom.Data, true).c_str());
}

// Locks the keyboard for the life of the object.
class CTecladoTravado {
 public:
  CTecladoTravado() { impressora::TravarTeclado(true); }
  ~CTecladoTravado() { impressora::TravarTeclado(false); }
  void Libera() { impressora::TravarTeclado(false); }
  void Trava() { impressora::TravarTeclado(true); }
};

}  // namespace

std::int32_t CQMXIntegracao::IntegraEstoque(const REG_QMX_PARAMETROS_INTEGRACAO& parametros) {
  const NumeroDia data = DataDosParametros(parametros);
  const std::uint16_t ecf = parametros.nEcf;
  REG_EMISSORPS emissora{};
  if (const com::HRESULT lida = LeEmissora(ecf, &emissora); com::FAILED(lida)) {
    ReportaFalha(lida, __LINE__);
    return lida;
  }
  if (emissora.CfopEstoque[0] == '\0') {
    Log("Campo \"CFOP\", no Cadastro de ECF, deve ser informado.");
    return kIntegracaoInterrompida;
  }
  if (emissora.TipoDocumentoEstoque == 0) {
    Log("Campo \"Tipo Documento do Estoque\", no Cadastro de ECF, deve ser informado.");
    return kIntegracaoInterrompida;
  }
  REG_EC_MESTREPS mestre{};
  if (const com::HRESULT lido = m_mestre.Le(&mestre); com::FAILED(lido)) {
    ReportaFalha(lido, __LINE__);
    return lido;
  }
  if (data < mestre.DataInicioSistema) {
    Log("Data Inicial inferior a data de inicio do sistema.");
    return kIntegracaoInterrompida;
  }

  // The stock movements' server, activated as the stock module reaches it.
  const com::HRESULT ativado =
      AtivaServidor(dados::kClasseServidorMovimentoES, dados::IZTES_ServidorMovimento::kIID);
  if (com::FAILED(ativado)) {
    ReportaFalha(ativado, __LINE__);
    return ativado;
  }

  auto lidos = LeCupons(data, ecf);
  if (com::FAILED(lidos.busca)) {
    Log(Formata("Não foi possivel buscar os Ponteiros de Cupons Fiscais do dia: %s", TextoData(data).c_str()));
    return lidos.busca;
  }
  Log(Formata("Verificando cupons fiscais emitidos no dia: %s", TextoData(data).c_str()));
  if (com::FAILED(lidos.leitura)) {
    Log(Formata("Não foi possivel buscar os Cupons Fiscais do dia: %s", TextoData(data).c_str()));
    return lidos.leitura;
  }

  bool pendente = false;
  CESContabilizacao contabilizacao(m_integracao, m_plano, m_filiais, m_log);
  // The operator may stop the pass between two cupons: what was done
  // stays done, the rest stays pending.
  ui::CProgresso progresso("Integração com Torvo Estoque", ui::CProgresso::Unidade::Cupons,
                           static_cast<std::int64_t>(lidos.cupons.size()));
  for (auto& cupom : lidos.cupons) {
    progresso.Avanca();
    // Origin 4 stays out of the stock; a cancelled cupom took nothing from
    // it (ours: its items would only ever stay pending).
    if (cupom.Cupom.Origem == 4 || cupom.Cupom.Cancelado || !TemItemPendente(cupom)) continue;
    const ResultadoCupom resultado = IntegraCupom(cupom, contabilizacao);
    if (resultado == ResultadoCupom::Integrado) continue;
    pendente = true;
    Log(Formata("Não reintegrou Cupom Número: %u", cupom.Cupom.COO));
    if (resultado == ResultadoCupom::FalhaMarcas)
      Log(Formata("Erro ao atualizar a marca de integrado Estoque nos itens do Cupom Fiscal: %u", cupom.Cupom.COO));
  }
  if (pendente) Log("Ainda ficaram pendências na integração com o Torvo Estoque");
  return pendente ? kIntegracaoComPendencias : kIntegracaoCompleta;
}

std::int32_t CQMXIntegracao::IntegraCupomEstoque(void* cupom, std::int32_t, std::int32_t, std::int32_t) {
  if (!cupom) return com::E_POINTER;
  const auto* registro = static_cast<const REG_EC_CXPS*>(cupom);
  std::vector<dados::CupomCompleto> lidos;
  if (const com::HRESULT lido = m_cupons.Le({registro->Id}, &lidos); com::FAILED(lido)) {
    ReportaFalha(lido, __LINE__);
    return lido;
  }
  if (lidos.empty()) return dados::QMX_E_REGISTRO_INEXISTENTE;
  CESContabilizacao contabilizacao(m_integracao, m_plano, m_filiais, m_log);
  switch (IntegraCupom(lidos.front(), contabilizacao)) {
    case ResultadoCupom::Integrado:
      return kIntegracaoCompleta;
    case ResultadoCupom::FalhaMarcas:
      Log(Formata("Erro ao atualizar a marca de integrado Estoque nos itens do Cupom Fiscal: %u",
                  registro->COO));
      return kIntegracaoComPendencias;
    case ResultadoCupom::Pendente:
      break;
  }
  return kIntegracaoComPendencias;
}

// One cupom in one transaction: its movements, their accounting and the
// items' marks commit together. An item whose movements cannot all be
// written and accounted is undone alone (a savepoint) and stays unmarked.
CQMXIntegracao::ResultadoCupom CQMXIntegracao::IntegraCupom(dados::CupomCompleto& cupom,
                                                             CESContabilizacao& contabilizacao) {
  REG_EMISSORPS emissora{};
  if (const com::HRESULT lida = LeEmissora(cupom.Cupom.Emissora, &emissora); com::FAILED(lida)) {
    ReportaFalha(lida, __LINE__);
    return ResultadoCupom::Pendente;
  }
  if (emissora.CfopEstoque[0] == '\0') {
    Log(kTituloPendencias);
    Log("Falta cadastrar CFOP no Cadastro de ECFs");
    return ResultadoCupom::Pendente;
  }
  if (emissora.TipoDocumentoEstoque == 0) {
    Log(kTituloPendencias);
    Log("Falta cadastrar Tipo de Documento no Cadastro de ECFs");
    return ResultadoCupom::Pendente;
  }

  dados::CTransacaoDados transacao;
  if (com::FAILED(transacao.Inicia(m_strEmpresa))) return ResultadoCupom::Pendente;
  const std::string documento = DocumentoDoCupom(cupom.Cupom);
  // Prepares the cupom's movements and holds the cupom against a second
  // terminal; its answer is not examined.
  m_movimentos.PreparaCupom(documento.c_str(), cupom.Cupom.Data, cupom.Cupom.Emissora, cupom.Cupom.COO);
  // What another terminal integrated while this one waited is not done again.
  std::map<std::uint16_t, std::uint8_t> marcas;
  if (com::FAILED(m_cupons.LeMarcasEstoque(cupom.Cupom.Id, &marcas))) return ResultadoCupom::Pendente;
  for (auto& item : cupom.Itens)
    if (const auto marca = marcas.find(item.Item); marca != marcas.end()) item.IntegradoEstoque = marca->second;

  // The running cost of each place and product the cupom takes from, held
  // until the cupom commits. Taken in ascending order, so two terminals
  // whose cupons share products in another order never wait on each other.
  std::map<dados::LocalProduto, CustoLocal> custos;
  for (const auto& item : cupom.Itens) {
    if (!MovimentaEstoque(item) || item.IntegradoEstoque == 1) continue;
    const auto& produto = ProdutoDoEstoque(item.Codigo, cupom.Cupom.Filial);
    if (com::SUCCEEDED(produto.lido) && produto.temLocal)
      custos.emplace(dados::LocalProduto{produto.local.Codigo, item.Codigo}, CustoLocal{});
  }
  if (!TravaCustosLocais(cupom.Cupom.Filial, cupom.Cupom.Data, custos)) return ResultadoCupom::Pendente;

  bool pendente = false;
  for (auto& item : cupom.Itens) {
    if (!MovimentaEstoque(item) || item.IntegradoEstoque == 1) continue;
    if (!IntegraItem(cupom, item, emissora, contabilizacao, custos)) pendente = true;
  }
  // Marks that cannot be written take the cupom's movements with them: all
  // of its items stay pending.
  if (com::FAILED(m_cupons.GravaMarcasEstoque(cupom.Cupom.Id, cupom.Itens))) {
    Log("Ficaram pendências integrações dos itens Torvo Estoque");
    return ResultadoCupom::FalhaMarcas;
  }
  if (com::FAILED(transacao.Confirma())) return ResultadoCupom::Pendente;
  if (pendente) Log("Ficaram pendências integrações dos itens Torvo Estoque");
  return pendente ? ResultadoCupom::Pendente : ResultadoCupom::Integrado;
}

bool CQMXIntegracao::IntegraItem(const dados::CupomCompleto& cupom, REG_EC_CX_CIPS& item,
                                 const REG_EMISSORPS& emissora, CESContabilizacao& contabilizacao,
                                 std::map<dados::LocalProduto, CustoLocal>& custos) {
  CTecladoTravado teclado;
  item.IntegradoEstoque = 0;
  const auto& produto = ProdutoDoEstoque(item.Codigo, cupom.Cupom.Filial);

  // The stock suggestion: the whole quantity leaves the product's storage
  // place, when the place holds it or may go negative; otherwise nothing
  // can be moved. The balance was read with the place's lock (taken by the
  // cupom), so it holds what other terminals committed; this cupom's
  // earlier items are taken from it as they are written.
  std::vector<REG_ES_MOVIMENTOPS> movimentos;
  CustoLocal* custo = nullptr;
  if (com::SUCCEEDED(produto.lido) && produto.temLocal) {
    custo = &custos.at(dados::LocalProduto{produto.local.Codigo, item.Codigo});
    if (custo->saldo && (produto.local.PermiteNegativo || *custo->saldo >= item.Quantidade.int64)) {
      REG_ES_MOVIMENTOPS m{};
      m.Filial = cupom.Cupom.Filial;
      m.LocalEstoque = produto.local.Codigo;
      m.Produto = item.Codigo;
      m.Data = cupom.Cupom.Data;
      m.Quantidade = CY{-item.Quantidade.int64};
      // At the place's average cost, not at the price it was sold for.
      m.Valor = CY{CustoDaSaida(item.Quantidade.int64, custo->quantidade, custo->valor,
                                produto.produto.CustoUltimaCompra.int64)};
      m.Emissora = cupom.Cupom.Emissora;
      m.Cupom = cupom.Cupom.Id;
      m.Item = item.Item;
      std::memcpy(m.Cfop, emissora.CfopEstoque, sizeof m.Cfop);
      m.TipoDocumento = emissora.TipoDocumentoEstoque;
      std::snprintf(m.Documento, sizeof m.Documento, "%s", DocumentoDoCupom(cupom.Cupom).c_str());
      movimentos.push_back(m);
    }
  }
  if (movimentos.empty()) {
    // Only a real shortage is told as one: a product the register gives no
    // storage place (or one that cannot be read) is told so, for the
    // operator to fix the register rather than the stock.
    if (com::FAILED(produto.lido))
      Log(Formata("Integração com Estoque - Produto %u não encontrado no cadastro", item.Codigo));
    else if (!produto.temLocal)
      Log(Formata("Integração com Estoque - Produto %u sem local de estoque", item.Codigo));
    else
      Log("Integração com Estoque - Saldo Insuficiente");
    return false;
  }

  dados::CPontoTransacao ponto;  // an item's movements are undone together
  if (com::FAILED(ponto.Marca())) return false;
  const int total = static_cast<int>(movimentos.size());
  for (int j = 0; j < total; ++j) {
    auto& movimento = movimentos[static_cast<std::size_t>(j)];
    const std::string detalhe = Formata("ECF - Número: %d Cupom Fiscal: %d Item: %d Movimento: %d/%d",
                                        cupom.Cupom.Emissora, static_cast<int>(cupom.Cupom.COO), item.Item, j + 1,
                                        total);
    teclado.Libera();
    const bool contabilizavel = contabilizacao.TestaContabilizacao(movimento, produto.produto, &produto.local);
    teclado.Trava();
    if (!contabilizavel) {
      Log(kTituloContabilizacao);
      Log(detalhe);
      ponto.Volta();
      return false;
    }
    if (com::FAILED(m_movimentos.GravaMovimento(&movimento))) {
      ponto.Volta();
      return false;
    }
    if (!contabilizacao.Contabiliza(movimento, produto.produto, &produto.local)) {
      Log(kTituloContabilizacao);
      Log(detalhe);
      ponto.Volta();
      return false;
    }
  }
  if (com::FAILED(ponto.Libera())) return false;
  // What the place's row now holds, for the cupom's next item of it.
  for (const auto& movimento : movimentos) {
    custo->quantidade += movimento.Quantidade.int64;
    custo->valor -= movimento.Valor.int64;
    *custo->saldo += movimento.Quantidade.int64;
  }
  item.IntegradoEstoque = 1;
  return true;
}

const CQMXIntegracao::ProdutoEstoque& CQMXIntegracao::ProdutoDoEstoque(std::uint32_t codigo, std::uint16_t filial) {
  auto achado = m_produtosEstoque.find(codigo);
  if (achado != m_produtosEstoque.end()) return achado->second;
  ProdutoEstoque p;
  p.lido = m_produtos.Le(codigo, filial, &p.produto);
  if (com::SUCCEEDED(p.lido) && p.produto.LocalEstoque != 0)
    p.temLocal = com::SUCCEEDED(m_locais.Le(p.produto.LocalEstoque, &p.local));
  return m_produtosEstoque.emplace(codigo, p).first->second;
}

bool CQMXIntegracao::TravaCustosLocais(std::uint16_t filial, NumeroDia data,
                                       std::map<dados::LocalProduto, CustoLocal>& custos) {
  std::vector<dados::LocalProduto> chaves;
  for (const auto& [chave, custo] : custos) chaves.push_back(chave);
  std::vector<dados::CustoDoLocal> travados;
  if (com::FAILED(m_movimentos.TravaCustosLocais(filial, chaves, &travados))) return false;
  if (travados.size() < chaves.size()) {
    // The first time a place gives of a product: its running cost starts
    // from its balance then (every movement counted), at the last purchase
    // cost. Then all are taken again, in order; those already held come at
    // once.
    std::vector<dados::LocalProduto> novos;
    auto travado = travados.begin();
    for (const auto& chave : chaves) {
      if (travado != travados.end() && travado->chave == chave) ++travado;
      else novos.push_back(chave);
    }
    std::vector<CY> saldos;
    const NumeroDia sempre = std::numeric_limits<std::int32_t>::max();
    if (com::FAILED(m_movimentos.LeSaldosLocais(filial, novos, sempre, &saldos))) return false;
    for (std::size_t i = 0; i < novos.size(); ++i) {
      const std::int64_t custoCompra = ProdutoDoEstoque(novos[i].produto, filial).produto.CustoUltimaCompra.int64;
      if (com::FAILED(m_movimentos.IniciaCustoLocal(filial, novos[i].local, novos[i].produto, saldos[i],
                                                    CY{ValorAoCusto(saldos[i].int64, custoCompra)})))
        return false;
    }
    if (com::FAILED(m_movimentos.TravaCustosLocais(filial, chaves, &travados)) || travados.size() != chaves.size())
      return false;
  }
  for (const auto& travado : travados) {
    auto& custo = custos.at(travado.chave);
    custo.quantidade = travado.quantidade.int64;
    custo.valor = travado.valor.int64;
  }
  // Balances that cannot be read leave the products' items unmoved, not
  // the cupom.
  std::vector<CY> saldos;
  if (com::SUCCEEDED(m_movimentos.LeSaldosLocais(filial, chaves, data, &saldos)))
    for (std::size_t i = 0; i < chaves.size(); ++i) custos.at(chaves[i]).saldo = saldos[i].int64;
  return true;
}

}  // namespace qmx
