#include "plataforma/dados/ConexaoServidorEC.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

com::HRESULT CConexaoServidorEC::ListaNotas(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal,
                                            std::vector<std::uint32_t>* notas) {
  return LeVarios("SELECT id FROM nota_fiscal WHERE filial = ? AND data >= ? AND data <= ? ORDER BY data, id",
                  {filial, dataInicial, dataFinal}, notas,
                  [](const LinhaDados& l) { return static_cast<std::uint32_t>(l.Inteiro(0)); });
}

com::HRESULT CConexaoServidorEC::LeNota(std::uint32_t nota, REG_NOTA_FISCALPS* registro,
                                        std::vector<REG_ITENS_NF_PS>* itens) {
  if (!registro || !itens) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta("SELECT " QMX_COLUNAS_NOTA " FROM nota_fiscal WHERE id = ?", {nota});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    *registro = leitura::NotaFiscal(linhas.front());
    itens->clear();
    for (const auto& l :
         s.Consulta("SELECT " QMX_COLUNAS_ITEM_NOTA " FROM nota_fiscal_item WHERE nota = ? ORDER BY sequencia", {nota}))
      itens->push_back(leitura::ItemNota(l));
    return com::S_OK;
  });
}

com::HRESULT CConexaoServidorEC::LePagamentosNota(std::uint32_t nota, std::vector<REG_NF_PAGAMENTOPS>* pagamentos) {
  return LeVarios("SELECT nota, sequencia, forma, valor FROM nota_fiscal_pagamento WHERE nota = ? ORDER BY sequencia",
                  {nota}, pagamentos, [](const LinhaDados& l) {
                    auto r = leitura::Zerado<REG_NF_PAGAMENTOPS>();
                    r.Nota = static_cast<std::uint32_t>(l.Inteiro(0));
                    r.Sequencia = static_cast<std::uint16_t>(l.Inteiro(1));
                    r.Forma = static_cast<std::uint16_t>(l.Inteiro(2));
                    r.Valor = CY{l.Inteiro(3)};
                    return r;
                  });
}

com::HRESULT CConexaoServidorEC::LeParticipanteDaNota(std::uint32_t nota, ZTCFRT* participante) {
  return LeUm("SELECT " QMX_COLUNAS_CFRT " FROM nota_fiscal_participante WHERE nota = ?", {nota}, participante,
              leitura::Cfrt<LinhaDados>);
}

}  // namespace qmx::dados
