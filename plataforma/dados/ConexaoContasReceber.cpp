#include "plataforma/dados/ConexaoContasReceber.h"

#include <cstring>

#include "plataforma/dados/SequenciaDados.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

com::HRESULT CConexaoContasReceber::GravaTitulo(const REG_TITULO_RECEBERPS& t) {
  return Executa([&](CSessaoDados& s) {
    s.Executa(
        "INSERT INTO titulo_receber (id, filial, data, cliente, forma, numero, vencimento, valor, historico, chave, "
        "emissora, cupom, conta, tipo_documento) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {ProximoNumero(s, "titulo_receber"), t.Filial, t.Data, t.Cliente, t.Forma, t.Numero, t.Vencimento,
         t.Valor.int64, TextoParaBase(t.Historico), t.Chave, t.Emissora, t.Cupom, TextoParaBase(t.Conta),
         t.TipoDocumento});
    return com::S_OK;
  });
}

com::HRESULT CConexaoContasReceber::ExcluiTitulos(std::int32_t numero) {
  return Executa([&](CSessaoDados& s) {
    s.Executa("DELETE FROM titulo_receber WHERE chave = ?", {numero});
    return com::S_OK;
  });
}

com::HRESULT CConexaoContasReceber::ListaTitulos(std::int32_t numero, std::vector<REG_TITULO_RECEBERPS>* titulos) {
  return LeVarios("SELECT filial, data, emissora, cupom, cliente, forma, numero, vencimento, valor, conta, historico, "
                  "chave, tipo_documento FROM titulo_receber WHERE chave = ? ORDER BY id",
                  {numero}, titulos, [](const LinhaDados& l) {
                    REG_TITULO_RECEBERPS t;
                    std::memset(&t, 0, sizeof t);
                    t.Filial = static_cast<std::uint16_t>(l.Inteiro(0));
                    t.Data = static_cast<NumeroDia>(l.Inteiro(1));
                    t.Emissora = static_cast<std::uint16_t>(l.Inteiro(2));
                    t.Cupom = static_cast<std::uint32_t>(l.Inteiro(3));
                    t.Cliente = static_cast<std::uint32_t>(l.Inteiro(4));
                    t.Forma = static_cast<std::uint16_t>(l.Inteiro(5));
                    t.Numero = static_cast<std::uint32_t>(l.Inteiro(6));
                    t.Vencimento = static_cast<NumeroDia>(l.Inteiro(7));
                    t.Valor = CY{l.Inteiro(8)};
                    CopiaTexto(t.Conta, l.Texto(9));
                    CopiaTexto(t.Historico, l.Texto(10));
                    t.Chave = static_cast<std::int32_t>(l.Inteiro(11));
                    t.TipoDocumento = static_cast<std::uint16_t>(l.Inteiro(12));
                    return t;
                  });
}

}  // namespace qmx::dados
