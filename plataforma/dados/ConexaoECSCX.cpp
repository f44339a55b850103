#include "plataforma/dados/ConexaoECSCX.h"

#include <algorithm>
#include <map>

#include "plataforma/dados/InsercaoDados.h"
#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

// The three statements of a day's walk, sorted alike so that the items and
// payments of each cupom follow it: cupons, items, payments. A walk that
// does not need items or payments has no statement for them, and they are
// not read at all.
struct ConsultasDiaCaixa {
  // How much of each item the items' statement selects.
  enum class Itens : std::uint8_t { completos, descritos, tributados };
  const char* cupons;
  const char* itens;
  const char* pagamentos;
  Itens colunasItens = Itens::completos;
  bool pagamentosCompletos = true;  // false: without the holder's texts
  bool cuponsCompletos = true;      // false: what the files' lines show
};

namespace {

// A walk's statements from their columns and the order of the day's
// cupons: each cupom's items and payments follow it in the same order.
#define QMX_CUPONS(colunas, ordem) "SELECT " colunas " FROM cupom c" ordem
#define QMX_ITENS(colunas, ordem) "SELECT " colunas " FROM cupom c JOIN cupom_item i ON i.cupom = c.id" ordem ", i.item"
#define QMX_PAGAMENTOS(colunas, ordem) \
  "SELECT " colunas " FROM cupom c JOIN cupom_pagamento p ON p.cupom = c.id" ordem ", p.sequencia"

#define QMX_ORDEM_EMISSORA " WHERE c.emissora = ? AND c.data = ? ORDER BY c.sequencia"

const ConsultasDiaCaixa& PorEmissora() {
  static const ConsultasDiaCaixa c{QMX_CUPONS(QMX_COLUNAS_CUPOM, QMX_ORDEM_EMISSORA),
                                   QMX_ITENS(QMX_COLUNAS_ITEM_CUPOM, QMX_ORDEM_EMISSORA),
                                   QMX_PAGAMENTOS(QMX_COLUNAS_PAGAMENTO, QMX_ORDEM_EMISSORA)};
  return c;
}

const ConsultasDiaCaixa& ItensTributadosPorEmissora() {
  static const ConsultasDiaCaixa c{QMX_CUPONS(QMX_COLUNAS_CUPOM_RESUMIDO, QMX_ORDEM_EMISSORA),
                                   QMX_ITENS(QMX_COLUNAS_ITEM_CUPOM_TRIBUTADO, QMX_ORDEM_EMISSORA), nullptr,
                                   ConsultasDiaCaixa::Itens::tributados, true, false};
  return c;
}

// The lines of an ECF's movement file show part of each cupom, each item's
// description but neither its NCM, unit nor stock marks, and each
// payment's means and value but not its holder.
const ConsultasDiaCaixa& MovimentoPorEmissora() {
  static const ConsultasDiaCaixa c{QMX_CUPONS(QMX_COLUNAS_CUPOM_RESUMIDO, QMX_ORDEM_EMISSORA),
                                   QMX_ITENS(QMX_COLUNAS_ITEM_CUPOM_DESCRITO, QMX_ORDEM_EMISSORA),
                                   QMX_PAGAMENTOS(QMX_COLUNAS_PAGAMENTO_VALOR, QMX_ORDEM_EMISSORA),
                                   ConsultasDiaCaixa::Itens::descritos, false, false};
  return c;
}

#define QMX_ORDEM_NOTAS \
  " WHERE c.filial = ? AND c.data = ? AND c.status = 4 ORDER BY c.emissora, c.sequencia"

const ConsultasDiaCaixa& ItensPorEmissora() {
  static const ConsultasDiaCaixa c{PorEmissora().cupons, PorEmissora().itens, nullptr};
  return c;
}

const ConsultasDiaCaixa& NotasConsumidor() {
  static const ConsultasDiaCaixa c{QMX_CUPONS(QMX_COLUNAS_CUPOM, QMX_ORDEM_NOTAS),
                                   QMX_ITENS(QMX_COLUNAS_ITEM_CUPOM, QMX_ORDEM_NOTAS), nullptr};
  return c;
}

}  // namespace

com::HRESULT CConexaoECSCX::Percorre(const ConsultasDiaCaixa& consultas, std::uint16_t chave, NumeroDia dataInicial,
                                     NumeroDia dataFinal, const PorCupom& porCupom) {
  return Executa([&](CSessaoDados& s) {
    std::vector<REG_EC_CX_CIPS> itens;
    std::vector<REG_EC_CX_PAGAMENTOPS> pagamentos;
    CDescricoesConvertidas descricoes;
    for (int data = dataInicial; data <= dataFinal; ++data) {
      if (data > dataInicial) PassoOperacao();
      auto cupons = s.Abre(consultas.cupons, {chave, data});
      auto cursorItens = consultas.itens ? s.Abre(consultas.itens, {chave, data}) : nullptr;
      auto cursorPagamentos = consultas.pagamentos ? s.Abre(consultas.pagamentos, {chave, data}) : nullptr;
      // The cupom the item under the cursor belongs to (read once a row;
      // -1 past the last).
      const auto proximoItem = [&] { return cursorItens && cursorItens->Proxima() ? cursorItens->Inteiro(0) : -1; };
      std::int64_t cupomDoItem = proximoItem();
      bool haPagamento = cursorPagamentos && cursorPagamentos->Proxima();
      while (cupons->Proxima()) {
        const REG_EC_CXPS cupom =
            consultas.cuponsCompletos ? leitura::Cupom(*cupons) : leitura::CupomResumido(*cupons);
        itens.clear();
        for (; cupomDoItem == cupom.Id; cupomDoItem = proximoItem()) {
          itens.emplace_back();
          switch (consultas.colunasItens) {
            case ConsultasDiaCaixa::Itens::completos: leitura::ItemCupom(*cursorItens, itens.back(), &descricoes); break;
            case ConsultasDiaCaixa::Itens::descritos:
              leitura::ItemCupomDescrito(*cursorItens, itens.back(), &descricoes);
              break;
            case ConsultasDiaCaixa::Itens::tributados: leitura::ItemCupomTributado(*cursorItens, itens.back()); break;
          }
        }
        pagamentos.clear();
        for (; haPagamento && cursorPagamentos->Inteiro(0) == cupom.Id; haPagamento = cursorPagamentos->Proxima())
          pagamentos.push_back(consultas.pagamentosCompletos ? leitura::Pagamento(*cursorPagamentos)
                                                             : leitura::PagamentoValor(*cursorPagamentos));
        REG_EC_CXPS completo = cupom;
        completo.QuantidadeItens = static_cast<std::uint16_t>(itens.size());
        if (!Chama(porCupom, completo, itens, pagamentos)) return com::S_OK;
      }
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoECSCX::PercorreCupons(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                           const PorCupom& porCupom) {
  return Percorre(PorEmissora(), emissora, dataInicial, dataFinal, porCupom);
}

com::HRESULT CConexaoECSCX::PercorreMovimento(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                             const PorCupom& porCupom) {
  return Percorre(MovimentoPorEmissora(), emissora, dataInicial, dataFinal, porCupom);
}

com::HRESULT CConexaoECSCX::PercorreItensCupons(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                                                const PorCupom& porCupom) {
  return Percorre(ItensPorEmissora(), emissora, dataInicial, dataFinal, porCupom);
}

com::HRESULT CConexaoECSCX::PercorreItensTributados(std::uint16_t emissora, NumeroDia dataInicial,
                                                    NumeroDia dataFinal, const PorCupom& porCupom) {
  return Percorre(ItensTributadosPorEmissora(), emissora, dataInicial, dataFinal, porCupom);
}

// Only the columns a count needs, each read as the full records read it.
// In the branch index's order: both engines then walk the day's cupons by
// that index and each one's items by their key. Without an order a server
// asked through a cursor hashes the day's cupons and reads every item of
// the table past them (PostgreSQL, a day of the big store: 0.66 s against
// 0.11 s).
com::HRESULT CConexaoECSCX::PercorreItensVendidos(std::uint16_t filial, NumeroDia data,
                                                  const std::function<bool(const ItemVendido&)>& porItem) {
  return Executa([&](CSessaoDados& s) {
    auto cursor = s.Abre(
        "SELECT c.cancelado, c.status, i.cancelado, i.servico, i.codigo, i.quantidade "
        "FROM cupom c JOIN cupom_item i ON i.cupom = c.id WHERE c.filial = ? AND c.data = ? "
        "ORDER BY c.emissora, c.sequencia",
        {filial, data});
    while (cursor->Proxima()) {
      const ItemVendido item{static_cast<std::uint8_t>(cursor->Inteiro(0)), static_cast<std::uint8_t>(cursor->Inteiro(1)),
                             static_cast<std::uint8_t>(cursor->Inteiro(2)), static_cast<std::uint8_t>(cursor->Inteiro(3)),
                             static_cast<std::uint32_t>(cursor->Inteiro(4)), leitura::Moeda(*cursor, 5)};
      if (!Chama(porItem, item)) break;
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoECSCX::PercorreNotasConsumidor(std::uint16_t filial, NumeroDia dataInicial,
                                                    NumeroDia dataFinal, const PorCupom& porNota) {
  return Percorre(NotasConsumidor(), filial, dataInicial, dataFinal, porNota);
}

com::HRESULT CConexaoECSCX::PercorrePagamentosFilial(std::uint16_t filial, NumeroDia dataInicial,
                                                     NumeroDia dataFinal,
                                                     const std::function<bool(const PagamentoCupom&)>& porPagamento) {
  return Executa([&](CSessaoDados& s) {
    auto cursor = s.Abre(
        "SELECT c.data, c.cancelado, c.status, p.forma, p.valor "
        "FROM cupom c JOIN cupom_pagamento p ON p.cupom = c.id WHERE c.filial = ? AND c.data >= ? AND c.data <= ?",
        {filial, dataInicial, dataFinal});
    while (cursor->Proxima()) {
      const PagamentoCupom pagamento{static_cast<NumeroDia>(cursor->Inteiro(0)),
                                     static_cast<std::uint8_t>(cursor->Inteiro(1)),
                                     static_cast<std::uint8_t>(cursor->Inteiro(2)),
                                     static_cast<std::uint16_t>(cursor->Inteiro(3)), leitura::Moeda(*cursor, 4)};
      if (!Chama(porPagamento, pagamento)) break;
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoECSCX::Busca(const REG_EC_CX_CHAVEPS& chave, std::vector<std::uint32_t>* cupons) {
  return LeVarios(
      "SELECT c.id FROM cupom c WHERE c.emissora = ? AND c.data = ? AND (? = 0 OR c.coo = ?) ORDER BY c.sequencia",
      {chave.Emissora, chave.Data, chave.Cupom, chave.Cupom}, cupons,
      [](const LinhaDados& l) { return static_cast<std::uint32_t>(l.Inteiro(0)); });
}

com::HRESULT CConexaoECSCX::Le(const std::vector<std::uint32_t>& cupons, std::vector<CupomCompleto>* registros) {
  if (!registros) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    registros->clear();
    registros->reserve(cupons.size());
    // A day's cupons are read a piece at a time, each table once per piece
    // and the reads of up to kPedacosJuntos pieces together (one round trip
    // on a server inside a transaction), where four statements a cupom were
    // a round trip each. Within a cupom, items and payments come in their
    // order.
    constexpr std::size_t kPedacosJuntos = 8;
    com::HRESULT resultado = com::S_OK;
    std::vector<std::pair<std::size_t, std::size_t>> pedacos;
    PercorrePedacos(cupons.size(), [&](std::size_t primeira, std::size_t quantas) {
      pedacos.emplace_back(primeira, quantas);
    });
    for (std::size_t p = 0; p < pedacos.size() && com::SUCCEEDED(resultado); p += kPedacosJuntos) {
      const std::size_t ate = std::min(pedacos.size(), p + kPedacosJuntos);
      std::vector<LeituraDados> leituras;
      for (std::size_t k = p; k < ate; ++k) {
        const auto [primeira, quantas] = pedacos[k];
        std::vector<ParametroDados> ids(cupons.begin() + static_cast<std::ptrdiff_t>(primeira),
                                        cupons.begin() + static_cast<std::ptrdiff_t>(primeira + quantas));
        const std::string lista = ListaDeMarcadores(quantas);
        leituras.push_back({"SELECT " QMX_COLUNAS_CUPOM " FROM cupom c WHERE c.id IN (" + lista + ")", ids});
        leituras.push_back({"SELECT " QMX_COLUNAS_ITEM_CUPOM " FROM cupom_item i WHERE i.cupom IN (" + lista +
                                ") ORDER BY i.cupom, i.item",
                            ids});
        leituras.push_back({"SELECT " QMX_COLUNAS_PAGAMENTO " FROM cupom_pagamento p WHERE p.cupom IN (" + lista +
                                ") ORDER BY p.cupom, p.sequencia",
                            ids});
        leituras.push_back({"SELECT " QMX_COLUNAS_PARCELA " FROM cupom_parcela p WHERE p.cupom IN (" + lista +
                                ") ORDER BY p.cupom, p.sequencia",
                            std::move(ids)});
      }
      const auto respostas = s.ConsultaJuntas(leituras);
      for (std::size_t k = p; k < ate && com::SUCCEEDED(resultado); ++k) {
        const auto [primeira, quantas] = pedacos[k];
        const auto* resposta = &respostas[4 * (k - p)];
        std::map<std::uint32_t, CupomCompleto> lidos;
        for (const auto& l : resposta[0]) {
          CupomCompleto completo;
          completo.Cupom = leitura::Cupom(l);
          lidos.emplace(static_cast<std::uint32_t>(l.Inteiro(0)), std::move(completo));
        }
        const auto doCupom = [&](const LinhaDados& l) -> CupomCompleto* {
          auto achado = lidos.find(static_cast<std::uint32_t>(l.Inteiro(0)));
          return achado == lidos.end() ? nullptr : &achado->second;
        };
        for (const auto& l : resposta[1])
          if (auto* completo = doCupom(l)) {
            completo->Itens.emplace_back();
            leitura::ItemCupom(l, completo->Itens.back());
          }
        for (const auto& l : resposta[2])
          if (auto* completo = doCupom(l)) completo->Pagamentos.push_back(leitura::Pagamento(l));
        for (const auto& l : resposta[3])
          if (auto* completo = doCupom(l)) completo->Parcelas.push_back(leitura::Parcela(l));
        for (std::size_t i = primeira; i < primeira + quantas; ++i) {
          auto achado = lidos.find(cupons[i]);
          if (achado == lidos.end()) {
            resultado = QMX_E_REGISTRO_INEXISTENTE;
            break;
          }
          CupomCompleto completo = achado->second;  // a copy: the same cupom may be asked twice
          completo.Cupom.QuantidadeItens = static_cast<std::uint16_t>(completo.Itens.size());
          completo.Cupom.QuantidadeParcelas = static_cast<std::uint16_t>(completo.Parcelas.size());
          registros->push_back(std::move(completo));
        }
      }
    }
    if (com::FAILED(resultado)) registros->clear();
    return resultado;
  });
}

com::HRESULT CConexaoECSCX::GravaMarcasEstoque(std::uint32_t cupom, const std::vector<REG_EC_CX_CIPS>& itens) {
  return Executa([&](CSessaoDados& s) {
    const bool propria = !s.EmTransacao();
    if (propria) s.Inicia();
    try {
      // One statement per run of consecutive items with the same mark (a
      // cupom integrated whole is one).
      for (std::size_t i = 0; i < itens.size();) {
        std::size_t fim = i + 1;
        while (fim < itens.size() && itens[fim].Item == itens[fim - 1].Item + 1 &&
               itens[fim].IntegradoEstoque == itens[i].IntegradoEstoque)
          ++fim;
        s.Enfileira("UPDATE cupom_item SET integrado_estoque = ? WHERE cupom = ? AND item >= ? AND item <= ?",
                    {itens[i].IntegradoEstoque, cupom, itens[i].Item, itens[fim - 1].Item});
        i = fim;
      }
      if (propria) s.Confirma();
    } catch (...) {
      if (propria) s.Desfaz();
      throw;
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoECSCX::LeMarcasEstoque(std::uint32_t cupom, std::map<std::uint16_t, std::uint8_t>* marcas) {
  if (!marcas) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    marcas->clear();
    for (const auto& l : s.Consulta("SELECT item, integrado_estoque FROM cupom_item WHERE cupom = ?", {cupom}))
      (*marcas)[static_cast<std::uint16_t>(l.Inteiro(0))] = static_cast<std::uint8_t>(l.Inteiro(1));
    return com::S_OK;
  });
}

com::HRESULT CConexaoECSCX::LeReducaoZ(std::uint16_t emissora, NumeroDia data, REG_REDUCAO_ZPS* reducao,
                                       std::vector<REG_REDUCAO_Z_ALIQUOTAPS>* aliquotas,
                                       std::vector<REG_TOTALIZADOR_NAO_FISCALPS>* naoFiscais) {
  if (!reducao || !aliquotas || !naoFiscais) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta("SELECT " QMX_COLUNAS_REDUCAO_Z " FROM reducao_z WHERE emissora = ? AND data = ?",
                                   {emissora, data});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    *reducao = leitura::ReducaoZ(linhas.front());
    aliquotas->clear();
    for (const auto& l : s.Consulta("SELECT posicao, tipo, aliquota, valor FROM reducao_z_aliquota "
                                    "WHERE emissora = ? AND data = ? ORDER BY posicao",
                                    {emissora, data})) {
      auto a = leitura::Zerado<REG_REDUCAO_Z_ALIQUOTAPS>();
      a.Posicao = static_cast<std::uint16_t>(l.Inteiro(0));
      a.Tipo = leitura::Letra(l, 1);
      a.Aliquota = static_cast<std::uint16_t>(l.Inteiro(2));
      a.Valor = CY{l.Inteiro(3)};
      aliquotas->push_back(a);
    }
    naoFiscais->clear();
    for (const auto& l : s.Consulta(
             "SELECT codigo, valor FROM reducao_z_nao_fiscal WHERE emissora = ? AND data = ? ORDER BY codigo",
             {emissora, data})) {
      auto t = leitura::Zerado<REG_TOTALIZADOR_NAO_FISCALPS>();
      t.Codigo = static_cast<std::uint8_t>(l.Inteiro(0));
      t.Valor = CY{l.Inteiro(1)};
      naoFiscais->push_back(t);
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoECSCX::PercorreDocumentos(std::uint16_t emissora, NumeroDia dataInicial,
                                               NumeroDia dataFinal,
                                               const std::function<bool(const REG_DOCUMENTO_ECFPS&)>& porDocumento) {
  return Executa([&](CSessaoDados& s) {
    auto cursor = s.Abre("SELECT " QMX_COLUNAS_DOCUMENTO_ECF " FROM documento_ecf "
                         "WHERE emissora = ? AND data >= ? AND data <= ? ORDER BY data, coo",
                         {emissora, dataInicial, dataFinal});
    while (cursor->Proxima())
      if (!Chama(porDocumento, leitura::DocumentoECF(*cursor))) break;
    return com::S_OK;
  });
}

com::HRESULT CConexaoECSCX::ListaReducoesZ(std::uint16_t emissora, bool porCRZ, std::uint32_t inicio,
                                           std::uint32_t fim, std::vector<REG_REDUCAO_ZPS>* reducoes) {
  const char* sql = porCRZ ? "SELECT " QMX_COLUNAS_REDUCAO_Z " FROM reducao_z "
                             "WHERE emissora = ? AND crz >= ? AND crz <= ? ORDER BY crz"
                           : "SELECT " QMX_COLUNAS_REDUCAO_Z " FROM reducao_z "
                             "WHERE emissora = ? AND data >= ? AND data <= ? ORDER BY crz";
  return LeVarios(sql, {emissora, inicio, fim}, reducoes, leitura::ReducaoZ<LinhaDados>);
}

com::HRESULT CConexaoECSCX::FaixaCOO(std::uint16_t emissora, std::uint32_t cooInicial, std::uint32_t cooFinal,
                                     std::uint32_t* primeiro, std::uint32_t* ultimo, NumeroDia* dataInicial,
                                     NumeroDia* dataFinal) {
  if (!primeiro || !ultimo || !dataInicial || !dataFinal) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta(
        "SELECT MIN(coo), MAX(coo), MIN(data), MAX(data) FROM ("
        "SELECT coo, data FROM cupom WHERE emissora = ? AND coo >= ? AND coo <= ? "
        "UNION ALL SELECT coo_final, data FROM reducao_z WHERE emissora = ? AND coo_final >= ? AND coo_final <= ? "
        "UNION ALL SELECT coo, data FROM documento_ecf WHERE emissora = ? AND coo >= ? AND coo <= ?) documentos",
        {emissora, cooInicial, cooFinal, emissora, cooInicial, cooFinal, emissora, cooInicial, cooFinal});
    const auto& l = linhas.front();
    *primeiro = static_cast<std::uint32_t>(l.Inteiro(0));
    *ultimo = static_cast<std::uint32_t>(l.Inteiro(1));
    *dataInicial = static_cast<NumeroDia>(l.Inteiro(2));
    *dataFinal = static_cast<NumeroDia>(l.Inteiro(3));
    return com::S_OK;
  });
}

}  // namespace qmx::dados
