#include "plataforma/dados/ConexaoMovimento.h"

#include <map>

#include "plataforma/dados/InsercaoDados.h"
#include "plataforma/dados/LeituraRegistros.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

com::HRESULT CConexaoMovimento::PercorrePosicoes(std::uint16_t filial, NumeroDia data,
                                                 const std::function<bool(const REG_ES_POSICAOPS&)>& porPosicao) {
  return Executa([&](CSessaoDados& s) {
    auto cursor = s.Abre(
        "SELECT p.filial, p.produto, p.data, p.quantidade FROM estoque_posicao p "
        "WHERE p.filial = ? AND p.data = (SELECT MAX(q.data) FROM estoque_posicao q "
        "WHERE q.filial = p.filial AND q.produto = p.produto AND q.data <= ?) ORDER BY p.produto",
        {filial, data});
    while (cursor->Proxima()) {
      auto r = leitura::Zerado<REG_ES_POSICAOPS>();
      r.Filial = static_cast<std::uint16_t>(cursor->Inteiro(0));
      r.Produto = static_cast<std::uint32_t>(cursor->Inteiro(1));
      r.Data = static_cast<NumeroDia>(cursor->Inteiro(2));
      r.Quantidade = CY{cursor->Inteiro(3)};
      if (!Chama(porPosicao, r)) break;
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::PercorreSaldosInventario(
    std::uint16_t filial, NumeroDia data, const std::function<bool(const REG_ES_SALDOS_INVENTARIOPS&)>& porSaldo) {
  return Executa([&](CSessaoDados& s) {
    auto cursor = s.Abre(
        "SELECT filial, data, produto, quantidade, valor_unitario, valor_total FROM estoque_inventario "
        "WHERE filial = ? AND data = ? ORDER BY produto",
        {filial, data});
    while (cursor->Proxima()) {
      auto r = leitura::Zerado<REG_ES_SALDOS_INVENTARIOPS>();
      r.Filial = static_cast<std::uint16_t>(cursor->Inteiro(0));
      r.Data = static_cast<NumeroDia>(cursor->Inteiro(1));
      r.Produto = static_cast<std::uint32_t>(cursor->Inteiro(2));
      r.Quantidade = CY{cursor->Inteiro(3)};
      r.ValorUnitario = CY{cursor->Inteiro(4)};
      r.ValorTotal = CY{cursor->Inteiro(5)};
      if (!Chama(porSaldo, r)) break;
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::PreparaCupom(const char* documento, NumeroDia data, std::uint16_t emissora,
                                             std::uint32_t coo) {
  if (!documento) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    // Touching the cupom's row locks it until the transaction ends: a second
    // terminal integrating the same cupom waits here and then sees the
    // marks this one leaves.
    s.Enfileira("UPDATE cupom SET coo = coo WHERE emissora = ? AND data = ? AND coo = ?", {emissora, data, coo});
    return com::S_OK;
  });
}

namespace {

// Places and products as a VALUES list of count rows, typed for both
// engines (an untyped parameter in VALUES is a text on the server).
std::string ListaDeChaves(std::size_t quantas) {
  return "VALUES " + ListaDeMarcadores(quantas, "(CAST(? AS INTEGER), CAST(? AS INTEGER))");
}

void ChavesDoPedaco(const std::vector<LocalProduto>& chaves, std::size_t primeira, std::size_t quantas,
                    std::vector<ParametroDados>& parametros) {
  for (std::size_t i = primeira; i < primeira + quantas; ++i) {
    parametros.emplace_back(chaves[i].local);
    parametros.emplace_back(chaves[i].produto);
  }
}

}  // namespace

com::HRESULT CConexaoMovimento::LeSaldosLocais(std::uint16_t filial, const std::vector<LocalProduto>& chaves,
                                               NumeroDia data, std::vector<CY>* saldos) {
  if (!saldos) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    // Per place and product, the latest position and the movements after
    // it, one statement per piece of keys, the pieces in one round trip.
    std::map<LocalProduto, std::int64_t> lidos;
    const auto leituraDoPedaco = [&](std::size_t primeira, std::size_t quantas) {
      std::vector<ParametroDados> parametros;
      ChavesDoPedaco(chaves, primeira, quantas, parametros);
      parametros.insert(parametros.end(), {filial, data, filial, data, filial, data});
      return LeituraDados{
          "WITH k (local_estoque, produto) AS (" + ListaDeChaves(quantas) +
              "), p AS (SELECT k.local_estoque, k.produto, "
              "(SELECT e.data FROM estoque_posicao e WHERE e.filial = ? AND e.produto = k.produto AND e.data < ? "
              "ORDER BY e.data DESC LIMIT 1) AS data, "
              "(SELECT e.quantidade FROM estoque_posicao e WHERE e.filial = ? AND e.produto = k.produto AND "
              "e.data < ? ORDER BY e.data DESC LIMIT 1) AS quantidade FROM k) "
              "SELECT p.local_estoque, p.produto, COALESCE(p.quantidade, 0) + COALESCE((SELECT SUM(m.quantidade) "
              "FROM movimento_estoque m WHERE m.filial = ? AND m.produto = p.produto AND "
              "m.local_estoque = p.local_estoque AND m.data > COALESCE(p.data, -1) AND m.data <= ?), 0) FROM p",
          std::move(parametros)};
    };
    LePorPedacos(s, chaves.size(), leituraDoPedaco, [&](const LinhaDados& l) {
      lidos[LocalProduto{static_cast<std::uint16_t>(l.Inteiro(0)), static_cast<std::uint32_t>(l.Inteiro(1))}] =
          l.Inteiro(2);
    });
    saldos->clear();
    for (const auto& chave : chaves) saldos->push_back(CY{lidos.at(chave)});
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::TravaCustosLocais(std::uint16_t filial, const std::vector<LocalProduto>& chaves,
                                                  std::vector<CustoDoLocal>* custos) {
  if (!custos) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    custos->clear();
    // The rows come sorted and are locked as they come (on SQLite the write
    // transaction already holds the whole database); the keys come sorted,
    // so the pieces, sent together in one round trip and run in order, lock
    // in key order too.
    const auto leituraDoPedaco = [&](std::size_t primeira, std::size_t quantas) {
      std::vector<ParametroDados> parametros{filial};
      ChavesDoPedaco(chaves, primeira, quantas, parametros);
      return LeituraDados{"SELECT local_estoque, produto, quantidade, valor FROM saldo_local WHERE filial = ? AND "
                          "(local_estoque, produto) IN (" +
                              ListaDeChaves(quantas) + ") ORDER BY local_estoque, produto" + s.TravaLinhasLidas(),
                          std::move(parametros)};
    };
    LePorPedacos(s, chaves.size(), leituraDoPedaco, [&](const LinhaDados& l) {
      custos->push_back(
          CustoDoLocal{.chave = {static_cast<std::uint16_t>(l.Inteiro(0)), static_cast<std::uint32_t>(l.Inteiro(1))},
                       .quantidade = CY{l.Inteiro(2)},
                       .valor = CY{l.Inteiro(3)}});
    });
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::IniciaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                                 CY quantidade, CY valor) {
  return Executa([&](CSessaoDados& s) {
    s.Enfileira(
        "INSERT INTO saldo_local (filial, local_estoque, produto, quantidade, valor) VALUES (?, ?, ?, ?, ?) "
        "ON CONFLICT (filial, local_estoque, produto) DO NOTHING",
        {filial, local, produto, quantidade.int64, valor.int64});
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::AjustaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                                 CY quantidade, CY valor) {
  return Executa([&](CSessaoDados& s) {
    s.Enfileira("UPDATE saldo_local SET quantidade = ?, valor = ? WHERE filial = ? AND local_estoque = ? AND produto = ?",
                {quantidade.int64, valor.int64, filial, local, produto});
    return com::S_OK;
  });
}

namespace {

void InsereMovimento(CSessaoDados& s, REG_ES_MOVIMENTOPS* m) {
  const std::int64_t id = s.ProximoNumero("movimento_estoque");
  s.Enfileira(
      "INSERT INTO movimento_estoque (id, filial, local_estoque, produto, data, quantidade, valor, emissora, cupom, "
      "item, cfop, tipo_documento, documento, estorno_de) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
      {id, m->Filial, m->LocalEstoque, m->Produto, m->Data, m->Quantidade.int64, m->Valor.int64, m->Emissora,
       m->Cupom, m->Item, TextoParaBase(m->Cfop), m->TipoDocumento, TextoParaBase(m->Documento), m->EstornoDe});
  m->Id = static_cast<std::uint32_t>(id);
}

}  // namespace

com::HRESULT CConexaoMovimento::GravaMovimento(REG_ES_MOVIMENTOPS* m) {
  if (!m) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    InsereMovimento(s, m);
    const std::int64_t valor = m->Quantidade.int64 < 0 ? -m->Valor.int64 : m->Valor.int64;
    s.Enfileira(
        "UPDATE saldo_local SET quantidade = quantidade + ?, valor = valor + ?, data = ? "
        "WHERE filial = ? AND local_estoque = ? AND produto = ?",
        {m->Quantidade.int64, valor, m->Data, m->Filial, m->LocalEstoque, m->Produto});
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::GravaSoMovimento(REG_ES_MOVIMENTOPS* m) {
  if (!m) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    InsereMovimento(s, m);
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::FechaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                                CY quantidade, CY valor, NumeroDia data) {
  return Executa([&](CSessaoDados& s) {
    s.Enfileira(
        "UPDATE saldo_local SET quantidade = ?, valor = ?, data = ? WHERE filial = ? AND local_estoque = ? AND "
        "produto = ?",
        {quantidade.int64, valor.int64, data, filial, local, produto});
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::LeSaidasDoCupom(std::uint32_t cupom, std::vector<REG_ES_MOVIMENTOPS>* saidas) {
  return LeVarios(
      "SELECT m.id, m.filial, m.local_estoque, m.produto, m.data, m.quantidade, m.valor, m.emissora, m.cupom, m.item, "
      "m.cfop, m.tipo_documento, m.documento FROM movimento_estoque m WHERE m.cupom = ? AND m.estorno_de = 0 AND "
      "m.quantidade < 0 AND NOT EXISTS (SELECT 1 FROM movimento_estoque r WHERE r.estorno_de = m.id) "
      "ORDER BY m.item, m.id",
      {cupom}, saidas, [](const LinhaDados& l) {
        auto m = leitura::Zerado<REG_ES_MOVIMENTOPS>();
        m.Id = static_cast<std::uint32_t>(l.Inteiro(0));
        m.Filial = static_cast<std::uint16_t>(l.Inteiro(1));
        m.LocalEstoque = static_cast<std::uint16_t>(l.Inteiro(2));
        m.Produto = static_cast<std::uint32_t>(l.Inteiro(3));
        m.Data = static_cast<NumeroDia>(l.Inteiro(4));
        m.Quantidade = CY{l.Inteiro(5)};
        m.Valor = CY{l.Inteiro(6)};
        m.Emissora = static_cast<std::uint16_t>(l.Inteiro(7));
        m.Cupom = static_cast<std::uint32_t>(l.Inteiro(8));
        m.Item = static_cast<std::uint16_t>(l.Inteiro(9));
        CopiaTexto(m.Cfop, l.Texto(10));
        m.TipoDocumento = static_cast<std::uint16_t>(l.Inteiro(11));
        CopiaTexto(m.Documento, l.Texto(12));
        return m;
      });
}

}  // namespace qmx::dados
