#include "plataforma/dados/ConexaoContasReceber.h"

#include "plataforma/dados/LeituraRegistros.h"

#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

com::HRESULT CConexaoContasReceber::GravaTitulo(const REG_TITULO_RECEBERPS& t) {
  return Executa([&](CSessaoDados& s) {
    s.Enfileira(
        "INSERT INTO titulo_receber (id, filial, data, cliente, forma, numero, vencimento, valor, historico, chave, "
        "emissora, cupom, conta, tipo_documento, data_liquidacao) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {s.ProximoNumero("titulo_receber"), t.Filial, t.Data, t.Cliente, t.Forma, t.Numero, t.Vencimento,
         t.Valor.int64, TextoParaBase(t.Historico), t.Chave, t.Emissora, t.Cupom, TextoParaBase(t.Conta),
         t.TipoDocumento, t.DataLiquidacao});
    return com::S_OK;
  });
}

com::HRESULT CConexaoContasReceber::ExcluiTitulos(std::int32_t numero) {
  return Executa([&](CSessaoDados& s) {
    s.Enfileira("DELETE FROM titulo_receber WHERE chave = ?", {numero});
    return com::S_OK;
  });
}

com::HRESULT CConexaoContasReceber::ListaTitulos(std::int32_t numero, std::vector<REG_TITULO_RECEBERPS>* titulos) {
  return LeVarios("SELECT " QMX_COLUNAS_TITULO " FROM titulo_receber t WHERE t.chave = ? ORDER BY t.id", {numero},
                  titulos, [](const LinhaDados& l) { return leitura::Titulo(l); });
}

}  // namespace qmx::dados
