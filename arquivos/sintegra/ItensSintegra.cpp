#include "arquivos/sintegra/ItensSintegra.h"

#include "arquivos/sintegra/LeiautesSintegra.h"
#include <map>
#include <utility>

#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::sintegra {

void CItensSintegra::Acrescenta(bool servico, std::uint32_t codigo, const char* descricao) {
  Guarda(Item{servico, codigo, descricao ? descricao : ""});
}

void CItensSintegra::AcrescentaDoCupom(bool servico, std::uint32_t codigo, std::uint32_t cupom, std::uint16_t item) {
  Guarda(Item{servico, codigo, "", cupom, item});
}

void CItensSintegra::Guarda(Item item) {
  // The first document that met the item keeps it.
  const std::uint64_t chave = (std::uint64_t{item.servico} << 32) | item.codigo;
  m_itens.try_emplace(chave, std::move(item));
}

std::string CItensSintegra::DescricaoGuardada(ContextoSintegra& c, const Item& item) const {
  if (!item.cupom) return item.descricao;
  dados::CConexaoECSCX caixa;
  Exige(caixa.Inicializa(c.triplo.chaveEmpresa, c.triplo.usuario, c.triplo.contexto), __LINE__);
  std::vector<dados::CupomCompleto> cupons;
  Exige(caixa.Le({item.cupom}, &cupons), __LINE__);
  for (const auto& cupom : cupons)
    for (const auto& i : cupom.Itens)
      if (i.Item == item.item) return i.Descricao;
  return {};
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
    std::string ncm, descricao, unidade;
    bool lido = false;
    std::int64_t ipi = 0, icms = 0, reducao = 0, baseST = 0;
    if (item.servico) {
      REG_SERVICOSPS s{};
      auto r = produtos.LeServico(item.codigo, &s);
      // A record deleted since the sale is written as its latest document
      // sold it.
      if (r == dados::QMX_E_REGISTRO_INEXISTENTE) r = produtos.LeServicoDosDocumentos(item.codigo, &s);
      if (r != dados::QMX_E_REGISTRO_INEXISTENTE) {
        Exige(r, __LINE__);
        lido = true;
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
        lido = true;
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
    if (!lido) descricao = DescricaoGuardada(c, item);
    c.Escreve(c.escritor.Monta<kRegistro75>({c.dataInicial, c.dataFinal, codigo, ncm, descricao, unidade, ipi, icms,
                                             reducao, baseST}));
    ++linhas;
  }
  return linhas;
}

}  // namespace qmx::sintegra
