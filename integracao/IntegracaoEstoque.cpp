// The stock pass and the stock integration of a single cupom.
//
// What one cupom's integration does, inside its own savepoint of the
// transaction that commits its group of cupons (or alone, for the sale's
// own integration):
// - it returns what was cancelled after its stock was integrated (the whole
//   cupom, or an item): a movement back into the place with the quantity
//   and the value the exit left with, the exit's entries reversed, the
//   item's mark cleared. The return is dated the cupom's day while that
//   month is open, else the day it is found (today), never into a blocked
//   month;
// - it takes out of the stock the items not integrated yet, at the place's
//   average cost, when the place holds them (or may go negative) at the
//   cupom: the day's earlier movements included.
#include <cstdio>
#include <cstring>
#include <set>

#include "frame/RelogioBiblioteca.h"
#include "integracao/CamposIntegracao.h"
#include "integracao/CustoMedio.h"
#include "integracao/ESContabilizacao.h"
#include "integracao/QMXIntegracao.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/ServidoresIntegracaoCOM.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

using campos::Formata;

namespace {

constexpr const char* kTituloPendencias = "Pendências na Integração com Torvo Estoque";
constexpr const char* kTituloContabilizacao = "Pendências na Contabilização ECF - (Estoque/Contábil)";

// Cupons committed together by the stock pass: a few round trips for the
// group instead of several a cupom, the places' locks held for the group's
// time (a fraction of a second). A power of two, so that the group is read
// in one piece.
constexpr std::size_t kCuponsPorGrupo = 256;

// The items that move stock: not excluded, not services, not cancelled.
bool MovimentaEstoque(const REG_EC_CX_CIPS& item) { return !item.Excluido && !item.Servico && !item.Cancelado; }

// An item undone: cancelled or excluded, alone or with its cupom.
bool Desfeito(const dados::CupomCompleto& cupom, const REG_EC_CX_CIPS& item) {
  return cupom.Cupom.Cancelado || item.Cancelado || item.Excluido;
}

// An item still to take out of the stock: its cupom stands, it moves
// stock and has not been integrated.
bool Sai(const dados::CupomCompleto& cupom, const REG_EC_CX_CIPS& item) {
  return !cupom.Cupom.Cancelado && MovimentaEstoque(item) && item.IntegradoEstoque == 0;
}

// An item whose exit must come back: integrated, then undone.
bool Volta(const dados::CupomCompleto& cupom, const REG_EC_CX_CIPS& item) {
  return item.IntegradoEstoque == 1 && Desfeito(cupom, item);
}

// What a cupom still asks of the stock: an item to take out, or one whose
// exit must come back. A cupom of origin 4 stays out of the stock.
bool TemPendencia(const dados::CupomCompleto& cupom) {
  if (cupom.Cupom.Origem == 4) return false;
  for (const auto& item : cupom.Itens)
    if (Sai(cupom, item) || Volta(cupom, item)) return true;
  return false;
}

// The cupom's document key for the movements' server: its number and date.
std::string DocumentoDoCupom(const REG_EC_CXPS& cupom) {
  return Formata("CF%06u-%s", cupom.COO, TextoData(cupom.Data, true).c_str());
}

std::string Reais(std::int64_t valor) {
  return Formata("%lld,%02lld", static_cast<long long>(valor / 10000),
                 static_cast<long long>((valor < 0 ? -valor : valor) % 10000 / 100));
}

std::string Quantidade(std::int64_t quantidade) {
  return Formata("%lld,%03lld", static_cast<long long>(quantidade / 10000),
                 static_cast<long long>((quantidade < 0 ? -quantidade : quantidade) % 10000 / 10));
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
  if (const com::HRESULT lida = EmissoraDoDia(ecf, &emissora, __LINE__); com::FAILED(lida)) return lida;
  if (emissora.CfopEstoque[0] == '\0') {
    Log("Campo \"CFOP\", no Cadastro de ECF, deve ser informado.");
    return kIntegracaoInterrompida;
  }
  if (emissora.TipoDocumentoEstoque == 0) {
    Log("Campo \"Tipo Documento do Estoque\", no Cadastro de ECF, deve ser informado.");
    return kIntegracaoInterrompida;
  }
  REG_EC_MESTREPS mestre{};
  if (const com::HRESULT lido = m_mestre.Le(&mestre); com::FAILED(lido)) return Falhou(lido, __LINE__);
  if (data < mestre.DataInicioSistema) {
    Log("Data Inicial inferior a data de inicio do sistema.");
    return kIntegracaoInterrompida;
  }
  // A blocked month is said at once; the cupons then only give back what
  // was cancelled, into an open month.
  com::HRESULT falha = com::S_OK;
  if (MesDaFilial(emissora.Filial, data, &falha) == Mes::Falha) return Falhou(falha, __LINE__);

  // The stock movements' server, activated as the stock module reaches it.
  const com::HRESULT ativado =
      AtivaServidor(dados::kClasseServidorMovimentoES, dados::IZTES_ServidorMovimento::kIID);
  if (com::FAILED(ativado)) return Falhou(ativado, __LINE__);

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
  CESContabilizacao contabilizacao(m_integracao, m_plano, m_log);
  // The operator may stop the pass between two cupons: what was done
  // stays done, the rest stays pending.
  ui::CProgresso progresso("Integração com Torvo Estoque", ui::CProgresso::Unidade::Cupons,
                           static_cast<std::int64_t>(lidos.cupons.size()));
  std::vector<const REG_EC_CXPS*> grupo;
  for (std::size_t i = 0; i < lidos.cupons.size(); ++i) {
    if (TemPendencia(lidos.cupons[i])) grupo.push_back(&lidos.cupons[i].Cupom);
    else progresso.Avanca();
    if (grupo.size() < kCuponsPorGrupo && i + 1 < lidos.cupons.size()) continue;
    if (!grupo.empty() && !IntegraGrupo(grupo, contabilizacao, progresso, pendente)) return Falhou(m_falha, __LINE__);
    grupo.clear();
  }
  if (pendente) Log("Ainda ficaram pendências na integração com o Torvo Estoque");
  return pendente ? kIntegracaoComPendencias : kIntegracaoCompleta;
}

// A group of the pass's cupons in one transaction, a few round trips for
// all of them: each cupom locked in the day's order and all read again
// together, the places and products of the whole group locked at once in
// key order (and their running costs kept in memory, where this
// transaction alone can change them), each cupom inside a savepoint of its
// own. A cupom that fails is undone alone; the ones before it commit and
// the pass stops. A kill leaves every cupom whole or untouched.
bool CQMXIntegracao::IntegraGrupo(const std::vector<const REG_EC_CXPS*>& grupo, CESContabilizacao& contabilizacao,
                                  ui::CProgresso& progresso, bool& pendente) {
  auto falhou = [&](com::HRESULT resultado) {
    m_falha = resultado;
    return false;
  };
  dados::CTransacaoDados transacao;
  if (const com::HRESULT iniciada = transacao.Inicia(m_strEmpresa); com::FAILED(iniciada)) return falhou(iniciada);
  m_saldosAConferir.clear();
  std::vector<dados::CupomCompleto> lidos;
  if (const com::HRESULT lido = TravaELeCupons(grupo, &lidos); com::FAILED(lido)) return falhou(lido);

  // What the group's cupons will move, as they now stand: each exit at its
  // product's place; a return at the place its product has now (one that
  // left another place is locked when its cupom comes).
  if (const com::HRESULT lido = LeProdutosDoEstoque(lidos); com::FAILED(lido)) return falhou(lido);
  std::map<dados::LocalProduto, CustoLocal> custos;
  for (const auto& cupom : lidos) {
    if (cupom.Cupom.Origem == 4) continue;
    for (const auto& item : cupom.Itens) {
      if (!Sai(cupom, item) && !Volta(cupom, item)) continue;
      const auto& produto = ProdutoDoEstoque(item.Codigo, cupom.Cupom.Filial);
      if (com::FAILED(produto.lido) && produto.lido != dados::QMX_E_REGISTRO_INEXISTENTE) return falhou(produto.lido);
      if (com::SUCCEEDED(produto.lido) && produto.temLocal)
        custos.emplace(dados::LocalProduto{produto.local.Codigo, item.Codigo}, CustoLocal{});
    }
  }
  if (!custos.empty() && !TravaCustosLocais(lidos.front().Cupom.Filial, lidos.front().Cupom.Data, custos))
    return false;

  const auto confirma = [&] {
    if (!GravaCustosMovidos(lidos.front().Cupom.Filial, custos)) return false;
    if (const com::HRESULT confirmada = transacao.Confirma(); com::FAILED(confirmada)) return falhou(confirmada);
    m_saldosConferidos.insert(m_saldosAConferir.begin(), m_saldosAConferir.end());
    return true;
  };
  for (auto& cupom : lidos) {
    // Stopped by the operator: the cupons done so far are kept.
    try {
      progresso.Avanca();
    } catch (...) {
      confirma();
      throw;
    }
    dados::CPontoTransacao ponto;
    if (const com::HRESULT marcado = ponto.Marca(); com::FAILED(marcado)) return falhou(marcado);
    m_custosAntesDoCupom.clear();
    const ResultadoCupom resultado = IntegraCupomLido(cupom, contabilizacao, custos);
    if (resultado == ResultadoCupom::Falha || resultado == ResultadoCupom::FalhaMarcas) {
      if (resultado == ResultadoCupom::FalhaMarcas)
        Log(Formata("Erro ao atualizar a marca de integrado Estoque nos itens do Cupom Fiscal: %u", cupom.Cupom.COO));
      const com::HRESULT falha = m_falha;
      ponto.Volta();
      DesfazCustosDoCupom(custos);
      confirma();
      return falhou(falha);
    }
    if (const com::HRESULT liberado = ponto.Libera(); com::FAILED(liberado)) return falhou(liberado);
    if (resultado == ResultadoCupom::Pendente) {
      pendente = true;
      Log(Formata("Não reintegrou Cupom Número: %u", cupom.Cupom.COO));
    }
  }
  return confirma();
}

std::int32_t CQMXIntegracao::IntegraCupomEstoque(void* cupom, std::int32_t, std::int32_t, std::int32_t) {
  if (!cupom) return com::E_POINTER;
  const auto* registro = static_cast<const REG_EC_CXPS*>(cupom);
  std::vector<dados::CupomCompleto> lidos;
  if (const com::HRESULT lido = m_cupons.Le({registro->Id}, &lidos); com::FAILED(lido)) return Falhou(lido, __LINE__);
  if (lidos.empty()) return dados::QMX_E_REGISTRO_INEXISTENTE;
  CESContabilizacao contabilizacao(m_integracao, m_plano, m_log);
  switch (IntegraCupom(lidos.front().Cupom, contabilizacao)) {
    case ResultadoCupom::Integrado:
      return kIntegracaoCompleta;
    case ResultadoCupom::Falha:
      return Falhou(m_falha, __LINE__);
    case ResultadoCupom::FalhaMarcas:
      Log(Formata("Erro ao atualizar a marca de integrado Estoque nos itens do Cupom Fiscal: %u",
                  registro->COO));
      return Falhou(m_falha, __LINE__);
    case ResultadoCupom::Pendente:
      break;
  }
  return kIntegracaoComPendencias;
}

// One cupom in one transaction: its returns and exits, their accounting and
// the items' marks commit together.
CQMXIntegracao::ResultadoCupom CQMXIntegracao::IntegraCupom(const REG_EC_CXPS& registro,
                                                             CESContabilizacao& contabilizacao) {
  auto falhou = [&](com::HRESULT resultado) {
    m_falha = resultado;
    return ResultadoCupom::Falha;
  };
  dados::CTransacaoDados transacao;
  if (const com::HRESULT iniciada = transacao.Inicia(m_strEmpresa); com::FAILED(iniciada)) return falhou(iniciada);
  m_saldosAConferir.clear();
  std::vector<dados::CupomCompleto> lidos;
  if (const com::HRESULT lido = TravaELeCupons({&registro}, &lidos); com::FAILED(lido)) return falhou(lido);
  std::map<dados::LocalProduto, CustoLocal> custos;
  m_custosAntesDoCupom.clear();
  const ResultadoCupom resultado = IntegraCupomLido(lidos.front(), contabilizacao, custos);
  if (resultado == ResultadoCupom::Falha || resultado == ResultadoCupom::FalhaMarcas) return resultado;
  if (!GravaCustosMovidos(registro.Filial, custos)) return ResultadoCupom::Falha;
  if (const com::HRESULT confirmada = transacao.Confirma(); com::FAILED(confirmada)) return falhou(confirmada);
  // Balances brought to the running quantity count as checked only once
  // they are committed: a cupom undone undoes its adjustments too.
  m_saldosConferidos.insert(m_saldosAConferir.begin(), m_saldosAConferir.end());
  return resultado;
}

com::HRESULT CQMXIntegracao::TravaELeCupons(const std::vector<const REG_EC_CXPS*>& registros,
                                            std::vector<dados::CupomCompleto>* lidos) {
  // Holds each cupom against a second terminal (and against its
  // cancellation) until the commit, in the order given; then they are read
  // as they stand, together.
  std::vector<std::uint32_t> ids;
  for (const REG_EC_CXPS* registro : registros) {
    const std::string documento = DocumentoDoCupom(*registro);
    if (const com::HRESULT preparado =
            m_movimentos.PreparaCupom(documento.c_str(), registro->Data, registro->Emissora, registro->COO);
        com::FAILED(preparado))
      return preparado;
    ids.push_back(registro->Id);
  }
  if (const com::HRESULT lido = m_cupons.Le(ids, lidos); com::FAILED(lido)) return lido;
  return lidos->size() == registros.size() ? com::S_OK : dados::QMX_E_REGISTRO_INEXISTENTE;
}

// A cupom read under its lock, inside the transaction that holds it: its
// returns and exits, their accounting and the items' marks. An item whose
// movements cannot all be written and accounted is undone alone (a
// savepoint) and stays pending. The running costs of the places already
// held (locked by this transaction) are in `custos` and kept there as the
// movements are written; others are locked here.
CQMXIntegracao::ResultadoCupom CQMXIntegracao::IntegraCupomLido(dados::CupomCompleto& cupom,
                                                                 CESContabilizacao& contabilizacao,
                                                                 std::map<dados::LocalProduto, CustoLocal>& custos) {
  auto falhou = [&](com::HRESULT resultado) {
    m_falha = resultado;
    return ResultadoCupom::Falha;
  };
  if (cupom.Cupom.Origem == 4) return ResultadoCupom::Integrado;

  // Where the cupom's movements may be dated: its own day while its month
  // is open; a return also on the day it is found.
  com::HRESULT falha = com::S_OK;
  const Mes mesDoCupom = MesDaFilial(cupom.Cupom.Filial, cupom.Cupom.Data, &falha);
  if (mesDoCupom == Mes::Falha) return falhou(falha);
  NumeroDia dataEstorno = cupom.Cupom.Data;
  if (mesDoCupom == Mes::Bloqueado) {
    dataEstorno = CQMXRelogio::PegaDiaHoje();
    const Mes mesDeHoje = MesDaFilial(cupom.Cupom.Filial, dataEstorno, &falha);
    if (mesDeHoje == Mes::Falha) return falhou(falha);
    if (mesDeHoje == Mes::Bloqueado) dataEstorno = 0;
  }

  // What comes back: the exits of the items cancelled (or of every item of
  // a cancelled cupom) that no movement has returned yet. An item's mark
  // and its exits are written and undone together, so only a cupom with a
  // cancelled item still marked has any to read.
  std::vector<REG_ES_MOVIMENTOPS> estornos;
  std::set<std::uint16_t> itensCancelados;
  bool saiuAlgumCancelado = false;
  for (const auto& item : cupom.Itens)
    if (Desfeito(cupom, item)) {
      itensCancelados.insert(item.Item);
      saiuAlgumCancelado = saiuAlgumCancelado || item.IntegradoEstoque == 1;
    }
  if (saiuAlgumCancelado) {
    std::vector<REG_ES_MOVIMENTOPS> saidas;
    if (const com::HRESULT lidas = m_movimentos.LeSaidasDoCupom(cupom.Cupom.Id, &saidas); com::FAILED(lidas))
      return falhou(lidas);
    for (const auto& saida : saidas)
      if (itensCancelados.count(saida.Item)) estornos.push_back(saida);
  }
  // What goes out: the items still to integrate of a cupom that stands.
  std::vector<REG_EC_CX_CIPS*> saidas;
  for (auto& item : cupom.Itens)
    if (Sai(cupom, item)) saidas.push_back(&item);

  bool pendente = false;
  REG_EMISSORPS emissora{};
  if (!saidas.empty()) {
    if (const com::HRESULT lida = LeEmissora(cupom.Cupom.Emissora, &emissora); com::FAILED(lida)) return falhou(lida);
    if (mesDoCupom == Mes::Bloqueado) {
      pendente = true;
      saidas.clear();
    } else if (emissora.CfopEstoque[0] == '\0') {
      Log(kTituloPendencias);
      Log("Falta cadastrar CFOP no Cadastro de ECFs");
      pendente = true;
      saidas.clear();
    } else if (emissora.TipoDocumentoEstoque == 0) {
      Log(kTituloPendencias);
      Log("Falta cadastrar Tipo de Documento no Cadastro de ECFs");
      pendente = true;
      saidas.clear();
    }
  }
  if (!estornos.empty() && dataEstorno == 0) {
    pendente = true;
    estornos.clear();
  }
  // Nothing the cupom may move now: what kept it (the register, a blocked
  // month) has said so already.
  if (saidas.empty() && estornos.empty()) return pendente ? ResultadoCupom::Pendente : ResultadoCupom::Integrado;

  // The running cost of each place and product the cupom moves, held
  // until the transaction commits. Those not held yet are taken in
  // ascending order, so two terminals whose cupons share products in
  // another order never wait on each other.
  std::map<dados::LocalProduto, CustoLocal> faltam;
  const auto precisa = [&](dados::LocalProduto chave) {
    if (!custos.count(chave)) faltam.emplace(chave, CustoLocal{});
  };
  for (const auto& saida : estornos) precisa(dados::LocalProduto{saida.LocalEstoque, saida.Produto});
  for (const auto* item : saidas) {
    const auto& produto = ProdutoDoEstoque(item->Codigo, cupom.Cupom.Filial);
    if (com::FAILED(produto.lido) && produto.lido != dados::QMX_E_REGISTRO_INEXISTENTE) return falhou(produto.lido);
    if (com::SUCCEEDED(produto.lido) && produto.temLocal) precisa(dados::LocalProduto{produto.local.Codigo, item->Codigo});
  }
  if (!faltam.empty()) {
    if (!TravaCustosLocais(cupom.Cupom.Filial, cupom.Cupom.Data, faltam)) return falhou(m_falha);
    for (const auto& [chave, custo] : faltam) AnotaCusto(custos, chave);
    custos.insert(faltam.begin(), faltam.end());
  }

  std::set<std::uint16_t> estornados, naoEstornados;
  for (const auto& saida : estornos) {
    if (EstornaSaida(saida, dataEstorno, contabilizacao, custos)) {
      estornados.insert(saida.Item);
      continue;
    }
    if (com::FAILED(m_falha)) return ResultadoCupom::Falha;
    naoEstornados.insert(saida.Item);
    pendente = true;
  }
  // An item whose exits all came back no longer holds stock.
  for (auto& item : cupom.Itens)
    if (estornados.count(item.Item) && !naoEstornados.count(item.Item)) item.IntegradoEstoque = 0;
  for (auto* item : saidas) {
    if (IntegraItem(cupom, *item, emissora, contabilizacao, custos)) continue;
    if (com::FAILED(m_falha)) return ResultadoCupom::Falha;
    pendente = true;
  }
  // Marks that cannot be written take the cupom's movements with them: the
  // cupom stays as it was, and the server's failure stops the pass.
  if (const com::HRESULT marcas = m_cupons.GravaMarcasEstoque(cupom.Cupom.Id, cupom.Itens); com::FAILED(marcas)) {
    m_falha = marcas;
    return ResultadoCupom::FalhaMarcas;
  }
  if (pendente) Log("Ficaram pendências integrações dos itens Torvo Estoque");
  return pendente ? ResultadoCupom::Pendente : ResultadoCupom::Integrado;
}

bool CQMXIntegracao::EstornaSaida(const REG_ES_MOVIMENTOPS& saida, NumeroDia data, CESContabilizacao& contabilizacao,
                                  std::map<dados::LocalProduto, CustoLocal>& custos) {
  m_falha = com::S_OK;
  REG_ES_MOVIMENTOPS retorno = saida;
  retorno.Id = 0;
  retorno.Data = data;
  retorno.Quantidade = CY{-saida.Quantidade.int64};
  retorno.EstornoDe = saida.Id;
  dados::CPontoTransacao ponto;
  if (const com::HRESULT marcado = ponto.Marca(); com::FAILED(marcado)) {
    m_falha = marcado;
    return false;
  }
  if (const com::HRESULT gravado = m_movimentos.GravaSoMovimento(&retorno); com::FAILED(gravado)) {
    m_falha = gravado;
    return false;
  }
  if (!contabilizacao.Estorna(saida, retorno)) {
    m_falha = contabilizacao.Falha();
    Log(kTituloContabilizacao);
    Log(Formata("Estorno - ECF - Número: %d Cupom Fiscal: %d Item: %d", retorno.Emissora,
                static_cast<int>(retorno.Cupom), retorno.Item));
    if (com::SUCCEEDED(m_falha)) ponto.Volta();
    return false;
  }
  if (const com::HRESULT liberado = ponto.Libera(); com::FAILED(liberado)) {
    m_falha = liberado;
    return false;
  }
  const dados::LocalProduto chave{saida.LocalEstoque, saida.Produto};
  AnotaCusto(custos, chave);
  auto& custo = custos.at(chave);
  custo.quantidade += retorno.Quantidade.int64;
  custo.valor += retorno.Valor.int64;
  custo.movido = true;
  custo.data = retorno.Data;
  Log(Formata("Estorno do Cupom Fiscal: %s Item: %d - %s devolvido ao estoque, R$ %s", retorno.Documento,
              retorno.Item, Quantidade(retorno.Quantidade.int64).c_str(), Reais(retorno.Valor.int64).c_str()));
  return true;
}

bool CQMXIntegracao::IntegraItem(const dados::CupomCompleto& cupom, REG_EC_CX_CIPS& item,
                                 const REG_EMISSORPS& emissora, CESContabilizacao& contabilizacao,
                                 std::map<dados::LocalProduto, CustoLocal>& custos) {
  m_falha = com::S_OK;
  CTecladoTravado teclado;
  item.IntegradoEstoque = 0;
  const auto& produto = ProdutoDoEstoque(item.Codigo, cupom.Cupom.Filial);

  // The stock suggestion: the whole quantity leaves the product's storage
  // place, when the place holds it at the cupom or may go negative;
  // otherwise nothing can be moved. The balance was read with the place's
  // lock (taken by the cupom), so it holds what other terminals committed;
  // this cupom's earlier items are taken from it as they are written.
  std::vector<REG_ES_MOVIMENTOPS> movimentos;
  CustoLocal* custo = nullptr;
  if (com::SUCCEEDED(produto.lido) && produto.temLocal) {
    custo = &custos.at(dados::LocalProduto{produto.local.Codigo, item.Codigo});
    if (produto.local.PermiteNegativo || custo->quantidade >= item.Quantidade.int64) {
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
    // storage place (or no longer has) is told so, for the operator to fix
    // the register rather than the stock.
    if (com::FAILED(produto.lido))
      Log(Formata("Integração com Estoque - Produto %u não encontrado no cadastro", item.Codigo));
    else if (!produto.temLocal)
      Log(Formata("Integração com Estoque - Produto %u sem local de estoque", item.Codigo));
    else
      Log("Integração com Estoque - Saldo Insuficiente");
    return false;
  }

  dados::CPontoTransacao ponto;  // an item's movements are undone together
  if (const com::HRESULT marcado = ponto.Marca(); com::FAILED(marcado)) {
    m_falha = marcado;
    return false;
  }
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
      m_falha = contabilizacao.Falha();
      Log(kTituloContabilizacao);
      Log(detalhe);
      ponto.Volta();
      return false;
    }
    if (const com::HRESULT gravado = m_movimentos.GravaSoMovimento(&movimento); com::FAILED(gravado)) {
      m_falha = gravado;
      return false;
    }
    if (!contabilizacao.Contabiliza(movimento, produto.produto, &produto.local)) {
      m_falha = contabilizacao.Falha();
      Log(kTituloContabilizacao);
      Log(detalhe);
      if (com::SUCCEEDED(m_falha)) ponto.Volta();
      return false;
    }
  }
  if (const com::HRESULT liberado = ponto.Libera(); com::FAILED(liberado)) {
    m_falha = liberado;
    return false;
  }
  // What the place's row will hold, for the cupom's next item of it.
  AnotaCusto(custos, dados::LocalProduto{produto.local.Codigo, item.Codigo});
  for (const auto& movimento : movimentos) {
    custo->quantidade += movimento.Quantidade.int64;
    custo->valor -= movimento.Valor.int64;
    custo->movido = true;
    custo->data = movimento.Data;
  }
  item.IntegradoEstoque = 1;
  return true;
}

const CQMXIntegracao::ProdutoEstoque& CQMXIntegracao::ProdutoDoEstoque(std::uint32_t codigo, std::uint16_t filial) {
  auto achado = m_produtosEstoque.find(codigo);
  if (achado != m_produtosEstoque.end()) return achado->second;
  ProdutoEstoque p;
  p.lido = m_produtos.Le(codigo, filial, &p.produto);
  if (com::SUCCEEDED(p.lido) && p.produto.LocalEstoque != 0) {
    const com::HRESULT local = m_locais.Le(p.produto.LocalEstoque, &p.local);
    p.temLocal = com::SUCCEEDED(local);
    if (com::FAILED(local) && local != dados::QMX_E_REGISTRO_INEXISTENTE) p.lido = local;
  }
  // A failure of the server is not kept: the next cupom asks again.
  if (com::FAILED(p.lido) && p.lido != dados::QMX_E_REGISTRO_INEXISTENTE) {
    m_produtoComFalha = p;
    return m_produtoComFalha;
  }
  return m_produtosEstoque.emplace(codigo, p).first->second;
}

com::HRESULT CQMXIntegracao::LeProdutosDoEstoque(const std::vector<dados::CupomCompleto>& cupons) {
  std::map<std::uint16_t, std::set<std::uint32_t>> porFilial;
  for (const auto& cupom : cupons) {
    if (cupom.Cupom.Origem == 4) continue;
    for (const auto& item : cupom.Itens)
      if ((Sai(cupom, item) || Volta(cupom, item)) && !m_produtosEstoque.count(item.Codigo))
        porFilial[cupom.Cupom.Filial].insert(item.Codigo);
  }
  for (const auto& [filial, codigos] : porFilial) {
    std::map<std::uint32_t, REG_PRODUTOPS> produtos;
    if (const com::HRESULT lido = m_produtos.LeProdutos({codigos.begin(), codigos.end()}, filial, &produtos);
        com::FAILED(lido))
      return lido;
    std::set<std::uint16_t> locais;
    for (const auto& [codigo, produto] : produtos)
      if (produto.LocalEstoque != 0) locais.insert(produto.LocalEstoque);
    std::map<std::uint16_t, REG_LOCAL_ESTOQUEPS> lidos;
    if (const com::HRESULT lido = m_locais.LeLocais({locais.begin(), locais.end()}, &lidos); com::FAILED(lido))
      return lido;
    // As ProdutoDoEstoque keeps them: a product or place the register
    // lacks is kept as such.
    for (const std::uint32_t codigo : codigos) {
      ProdutoEstoque p;
      const auto produto = produtos.find(codigo);
      p.lido = produto == produtos.end() ? dados::QMX_E_REGISTRO_INEXISTENTE : com::S_OK;
      if (com::SUCCEEDED(p.lido)) {
        p.produto = produto->second;
        const auto local = lidos.find(p.produto.LocalEstoque);
        p.temLocal = p.produto.LocalEstoque != 0 && local != lidos.end();
        if (p.temLocal) p.local = local->second;
      }
      m_produtosEstoque.emplace(codigo, p);
    }
  }
  return com::S_OK;
}

void CQMXIntegracao::AnotaCusto(const std::map<dados::LocalProduto, CustoLocal>& custos,
                                const dados::LocalProduto& chave) {
  if (m_custosAntesDoCupom.count(chave)) return;
  const auto achado = custos.find(chave);
  m_custosAntesDoCupom.emplace(chave, achado == custos.end() ? std::nullopt : std::optional(achado->second));
}

void CQMXIntegracao::DesfazCustosDoCupom(std::map<dados::LocalProduto, CustoLocal>& custos) {
  for (const auto& [chave, antes] : m_custosAntesDoCupom) {
    if (antes) custos[chave] = *antes;
    else custos.erase(chave);
  }
  m_custosAntesDoCupom.clear();
}

bool CQMXIntegracao::GravaCustosMovidos(std::uint16_t filial, std::map<dados::LocalProduto, CustoLocal>& custos) {
  for (auto& [chave, custo] : custos) {
    if (!custo.movido) continue;
    if (const com::HRESULT r = m_movimentos.FechaCustoLocal(filial, chave.local, chave.produto, CY{custo.quantidade},
                                                            CY{custo.valor}, custo.data);
        com::FAILED(r)) {
      m_falha = r;
      return false;
    }
    custo.movido = false;
  }
  return true;
}

bool CQMXIntegracao::TravaCustosLocais(std::uint16_t filial, NumeroDia data,
                                       std::map<dados::LocalProduto, CustoLocal>& custos) {
  m_falha = com::S_OK;
  auto falhou = [&](com::HRESULT resultado) {
    m_falha = resultado;
    return false;
  };
  std::vector<dados::LocalProduto> chaves;
  for (const auto& [chave, custo] : custos) chaves.push_back(chave);
  std::vector<dados::CustoDoLocal> travados;
  if (const com::HRESULT r = m_movimentos.TravaCustosLocais(filial, chaves, &travados); com::FAILED(r)) return falhou(r);
  if (travados.size() < chaves.size()) {
    // The first time a place moves a product: its running cost starts
    // empty and is brought to the place's balance below. Then all are
    // taken again, in order; those already held come at once.
    auto travado = travados.begin();
    for (const auto& chave : chaves) {
      if (travado != travados.end() && travado->chave == chave) {
        ++travado;
        continue;
      }
      if (const com::HRESULT r = m_movimentos.IniciaCustoLocal(filial, chave.local, chave.produto, CY{0}, CY{0});
          com::FAILED(r))
        return falhou(r);
    }
    if (const com::HRESULT r = m_movimentos.TravaCustosLocais(filial, chaves, &travados); com::FAILED(r))
      return falhou(r);
    if (travados.size() != chaves.size()) return falhou(dados::QMX_E_REGISTRO_INEXISTENTE);
  }
  // The balances at the cupom, read after the locks so that they hold what
  // other terminals committed meanwhile. Where the running quantity is not
  // the balance (entries and counts the movements never saw), it is
  // brought to it at the running average cost.
  // Once per pass and place: after that the running quantity moves with
  // every movement written through it, this pass's and other terminals',
  // and reading the balance for every cupom would sum the day's movements
  // again each time.
  std::vector<dados::LocalProduto> aConferir;
  for (const auto& chave : chaves)
    if (!m_saldosConferidos.count(chave)) aConferir.push_back(chave);
  std::vector<CY> saldos;
  if (!aConferir.empty())
    if (const com::HRESULT r = m_movimentos.LeSaldosLocais(filial, aConferir, data, &saldos); com::FAILED(r))
      return falhou(r);
  m_saldosAConferir.insert(m_saldosAConferir.end(), aConferir.begin(), aConferir.end());
  std::size_t lido = 0;
  for (std::size_t i = 0; i < travados.size(); ++i) {
    auto& custo = custos.at(travados[i].chave);
    custo.quantidade = travados[i].quantidade.int64;
    custo.valor = travados[i].valor.int64;
    if (lido == aConferir.size() || !(aConferir[lido] == travados[i].chave)) continue;
    const std::int64_t saldo = saldos[lido++].int64;
    if (saldo == custo.quantidade) continue;
    const auto& produto = ProdutoDoEstoque(travados[i].chave.produto, filial);
    const std::int64_t valor =
        ValorNoCustoMedio(saldo, custo.quantidade, custo.valor, produto.produto.CustoUltimaCompra.int64);
    const dados::LocalProduto& chave = travados[i].chave;
    if (const com::HRESULT r = m_movimentos.AjustaCustoLocal(filial, chave.local, chave.produto, CY{saldo}, CY{valor});
        com::FAILED(r))
      return falhou(r);
    custo.quantidade = saldo;
    custo.valor = valor;
  }
  return true;
}

}  // namespace qmx
