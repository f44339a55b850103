#include "plataforma/dados/ConexaoMovimento.h"

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

com::HRESULT CConexaoMovimento::LeSaldoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                             NumeroDia data, CY* saldo) {
  if (!saldo) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    // The latest position and the movements after it, in one statement.
    const auto linhas = s.Consulta(
        "WITH p AS (SELECT data, quantidade FROM estoque_posicao WHERE filial = ? AND produto = ? AND data <= ? "
        "ORDER BY data DESC LIMIT 1) "
        "SELECT COALESCE((SELECT quantidade FROM p), 0) + "
        "COALESCE((SELECT SUM(quantidade) FROM movimento_estoque WHERE filial = ? AND produto = ? AND "
        "local_estoque = ? AND data > COALESCE((SELECT data FROM p), -1) AND data <= ?), 0)",
        {filial, produto, data, filial, produto, local, data});
    saldo->int64 = linhas.empty() ? 0 : linhas.front().Inteiro(0);
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::TravaCustoLocal(std::uint16_t filial, std::uint16_t local, std::uint32_t produto,
                                                CY* quantidade, CY* valor) {
  if (!quantidade || !valor) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    // Touching the row takes its lock on either engine (the write
    // transaction on SQLite, the row's lock on PostgreSQL), as a
    // SELECT ... FOR UPDATE would on the server; it answers the row too.
    const auto linhas = s.Consulta(
        "UPDATE saldo_local SET quantidade = quantidade WHERE filial = ? AND local_estoque = ? AND produto = ? "
        "RETURNING quantidade, valor",
        {filial, local, produto});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    *quantidade = CY{linhas.front().Inteiro(0)};
    *valor = CY{linhas.front().Inteiro(1)};
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

com::HRESULT CConexaoMovimento::GravaMovimento(REG_ES_MOVIMENTOPS* m) {
  if (!m) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const std::int64_t id = s.ProximoNumero("movimento_estoque");
    s.Enfileira(
        "INSERT INTO movimento_estoque (id, filial, local_estoque, produto, data, quantidade, valor, emissora, cupom, "
        "item, cfop, tipo_documento, documento) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {id, m->Filial, m->LocalEstoque, m->Produto, m->Data, m->Quantidade.int64, m->Valor.int64, m->Emissora,
         m->Cupom, m->Item, TextoParaBase(m->Cfop), m->TipoDocumento, TextoParaBase(m->Documento)});
    const std::int64_t valor = m->Quantidade.int64 < 0 ? -m->Valor.int64 : m->Valor.int64;
    s.Enfileira(
        "UPDATE saldo_local SET quantidade = quantidade + ?, valor = valor + ? "
        "WHERE filial = ? AND local_estoque = ? AND produto = ?",
        {m->Quantidade.int64, valor, m->Filial, m->LocalEstoque, m->Produto});
    m->Id = static_cast<std::uint32_t>(id);
    return com::S_OK;
  });
}

}  // namespace qmx::dados
