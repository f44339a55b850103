#include "arquivos/sintegra/ItensSintegra.h"

#include "arquivos/sintegra/LeiautesSintegra.h"
#include <map>

#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::sintegra {

void CItensSintegra::Acrescenta(bool servico, std::uint32_t codigo, const char* descricao) {
  const std::uint64_t chave = (std::uint64_t{servico} << 32) | codigo;
  if (m_itens.find(chave) == m_itens.end()) m_itens.emplace(chave, Item{servico, codigo, descricao ? descricao : ""});
}

std::uint32_t CItensSintegra::Escreve(ContextoSintegra& c) {
  if (m_itens.empty()) return 0;
  dados::CConexaoProduto produtos;
  Exige(produtos.Inicializa(c.triplo.chaveEmpresa, c.triplo.usuario, c.triplo.contexto), __LINE__);
  std::map<std::string, const Item*> ordem;
  for (const auto& [chave, item] : m_itens) ordem.emplace(CodigoItem(item.servico, item.codigo), &item);
  std::uint32_t linhas = 0;
  for (const auto& [codigo, pItem] : ordem) {
    const Item& item = *pItem;
    std::string ncm, descricao = item.descricao, unidade;
    std::int64_t ipi = 0, icms = 0, reducao = 0, baseST = 0;
    if (item.servico) {
      REG_SERVICOSPS s{};
      auto r = produtos.LeServico(item.codigo, &s);
      // A record deleted since the sale is written as its latest document
      // sold it.
      if (r == dados::QMX_E_REGISTRO_INEXISTENTE) r = produtos.LeServicoDosDocumentos(item.codigo, &s);
      if (r != dados::QMX_E_REGISTRO_INEXISTENTE) {
        Exige(r, __LINE__);
        descricao = s.Descricao;
        REG_UNIDADES_MEDIDA_SERVICOSPS u{};
        if (s.Unidade && produtos.LeUnidadeServico(s.Unidade, &u) == com::S_OK) unidade = u.Sigla;
      }
      ncm = "00000000";
    } else {
      REG_PRODUTOPS p{};
      auto r = produtos.Le(item.codigo, c.filial.Numero, &p);
      if (r == dados::QMX_E_REGISTRO_INEXISTENTE) r = produtos.LeDosDocumentos(item.codigo, c.filial.Numero, &p);
      if (r != dados::QMX_E_REGISTRO_INEXISTENTE) {
        Exige(r, __LINE__);
        descricao = p.Descricao;
        ncm = p.NCM;
        REG_UNIDADES_MEDIDAPS u{};
        if (p.Unidade && produtos.LeUnidade(p.Unidade, &u) == com::S_OK) unidade = u.Sigla;
        ipi = Percentual(p.AliquotaIPI);
        icms = Percentual(p.AliquotaICMS);
        reducao = Percentual(p.ReducaoBase);
        baseST = p.BaseST.int64;
      }
    }
    c.Escreve(c.escritor.Monta(kRegistro75, {c.dataInicial, c.dataFinal, codigo, ncm, descricao, unidade, ipi, icms,
                                             reducao, baseST}));
    ++linhas;
  }
  return linhas;
}

}  // namespace qmx::sintegra
