#include "plataforma/dados/ConexaoMovimento.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

com::HRESULT CConexaoMovimento::PercorrePosicoes(std::uint16_t filial, std::uint16_t data,
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
      r.Data = static_cast<std::uint16_t>(cursor->Inteiro(2));
      r.Quantidade = CY{cursor->Inteiro(3)};
      if (!Chama(porPosicao, r)) break;
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoMovimento::PercorreSaldosInventario(
    std::uint16_t filial, std::uint16_t data, const std::function<bool(const REG_ES_SALDOS_INVENTARIOPS&)>& porSaldo) {
  return Executa([&](CSessaoDados& s) {
    auto cursor = s.Abre(
        "SELECT filial, data, produto, quantidade, valor_unitario, valor_total FROM estoque_inventario "
        "WHERE filial = ? AND data = ? ORDER BY produto",
        {filial, data});
    while (cursor->Proxima()) {
      auto r = leitura::Zerado<REG_ES_SALDOS_INVENTARIOPS>();
      r.Filial = static_cast<std::uint16_t>(cursor->Inteiro(0));
      r.Data = static_cast<std::uint16_t>(cursor->Inteiro(1));
      r.Produto = static_cast<std::uint32_t>(cursor->Inteiro(2));
      r.Quantidade = CY{cursor->Inteiro(3)};
      r.ValorUnitario = CY{cursor->Inteiro(4)};
      r.ValorTotal = CY{cursor->Inteiro(5)};
      if (!Chama(porSaldo, r)) break;
    }
    return com::S_OK;
  });
}

}  // namespace qmx::dados
