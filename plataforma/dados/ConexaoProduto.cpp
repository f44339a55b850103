#include "plataforma/dados/ConexaoProduto.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

namespace {

#define QMX_PRODUTO_NA_FILIAL \
  "SELECT " QMX_COLUNAS_PRODUTO " FROM produto p LEFT JOIN produto_filial f ON f.produto = p.codigo AND f.filial = ? "
constexpr const char* kLeProduto = QMX_PRODUTO_NA_FILIAL "WHERE p.codigo = ?";
constexpr const char* kPercorreProdutos =
    "SELECT " QMX_COLUNAS_PRODUTO
    " FROM produto p LEFT JOIN produto_filial f ON f.produto = p.codigo AND f.filial = ? ORDER BY p.codigo";

REG_ITENS_PIS_COFINS_PRODUTOPS AliquotaPisCofins(const LinhaDados& l) {
  auto r = leitura::Zerado<REG_ITENS_PIS_COFINS_PRODUTOPS>();
  r.Produto = static_cast<std::uint32_t>(l.Inteiro(0));
  r.Tipo = static_cast<std::uint8_t>(l.Inteiro(1));
  r.Inicio = static_cast<NumeroDia>(l.Inteiro(2));
  r.Fim = static_cast<NumeroDia>(l.Inteiro(3));
  r.Aliquota = static_cast<std::uint16_t>(l.Inteiro(4));
  return r;
}

template <class Registro>
Registro Unidade(const LinhaDados& l) {
  auto r = leitura::Zerado<Registro>();
  r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
  CopiaTexto(r.Sigla, l.Texto(1));
  CopiaTexto(r.Descricao, l.Texto(2));
  return r;
}

}  // namespace

com::HRESULT CConexaoProduto::Le(std::uint32_t codigo, std::uint16_t filial, REG_PRODUTOPS* registro) {
  return LeUm(kLeProduto, {filial, codigo}, registro, leitura::Produto<LinhaDados>);
}

com::HRESULT CConexaoProduto::LeDosDocumentos(std::uint32_t codigo, std::uint16_t filial, REG_PRODUTOPS* registro) {
  if (!registro) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    auto linhas = s.Consulta(
        "SELECT i.descricao, i.unidade, i.ncm, i.cst, i.tributacao, i.aliquota FROM cupom_item i JOIN cupom c ON "
        "c.id = i.cupom WHERE i.codigo = ? AND i.servico = 0 AND c.filial = ? ORDER BY c.data DESC, c.id DESC LIMIT 1",
        {codigo, filial});
    if (linhas.empty())
      linhas = s.Consulta(
          "SELECT i.descricao, i.unidade, i.ncm, i.cst, CASE WHEN i.aliquota_icms <> 0 THEN 'T' ELSE 'N' END, "
          "i.aliquota_icms FROM nota_fiscal_item i JOIN nota_fiscal n ON n.id = i.nota WHERE i.codigo = ? AND "
          "i.servico = 0 ORDER BY n.data DESC, n.id DESC LIMIT 1",
          {codigo});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    const auto& l = linhas.front();
    auto r = leitura::Zerado<REG_PRODUTOPS>();
    r.Codigo = codigo;
    r.Filial = filial;
    CopiaTexto(r.Descricao, l.Texto(0));
    r.Unidade = static_cast<std::uint16_t>(l.Inteiro(1));
    CopiaTexto(r.NCM, l.Texto(2));
    CopiaTexto(r.SituacaoTributaria, l.Texto(3));
    r.Tributacao = l.Texto(4).empty() ? 'T' : l.Texto(4)[0];
    r.AliquotaICMS = static_cast<std::uint16_t>(l.Inteiro(5));
    r.Revenda = 1;
    r.Situacao = 'A';
    *registro = r;
    return com::S_OK;
  });
}

com::HRESULT CConexaoProduto::LeServicoDosDocumentos(std::uint32_t codigo, REG_SERVICOSPS* registro) {
  if (!registro) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    auto linhas = s.Consulta(
        "SELECT i.descricao, i.unidade, i.aliquota FROM cupom_item i JOIN cupom c ON c.id = i.cupom WHERE "
        "i.codigo = ? AND i.servico = 1 ORDER BY c.data DESC, c.id DESC LIMIT 1",
        {codigo});
    if (linhas.empty())
      linhas = s.Consulta(
          "SELECT i.descricao, i.unidade, 0 FROM nota_fiscal_item i JOIN nota_fiscal n ON n.id = i.nota WHERE "
          "i.codigo = ? AND i.servico = 1 ORDER BY n.data DESC, n.id DESC LIMIT 1",
          {codigo});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    const auto& l = linhas.front();
    auto r = leitura::Zerado<REG_SERVICOSPS>();
    r.Codigo = codigo;
    CopiaTexto(r.Descricao, l.Texto(0));
    r.Unidade = static_cast<std::uint16_t>(l.Inteiro(1));
    r.AliquotaISS = static_cast<std::uint16_t>(l.Inteiro(2));
    r.Ativo = 1;
    *registro = r;
    return com::S_OK;
  });
}

com::HRESULT CConexaoProduto::LeLight(std::uint32_t codigo, REG_PRODUTOPS* registro) {
  // Branch 0 holds no tax data: the branch fields come back zero.
  return Le(codigo, 0, registro);
}

com::HRESULT CConexaoProduto::LeUnidade(std::uint16_t codigo, REG_UNIDADES_MEDIDAPS* registro) {
  return LeUm("SELECT codigo, sigla, descricao FROM unidade_medida WHERE codigo = ?", {codigo}, registro,
              Unidade<REG_UNIDADES_MEDIDAPS>);
}

com::HRESULT CConexaoProduto::LeServico(std::uint32_t codigo, REG_SERVICOSPS* registro) {
  return LeUm("SELECT " QMX_COLUNAS_SERVICO " FROM servico WHERE codigo = ?", {codigo}, registro,
              leitura::Servico<LinhaDados>);
}

com::HRESULT CConexaoProduto::LeUnidadeServico(std::uint16_t codigo, REG_UNIDADES_MEDIDA_SERVICOSPS* registro) {
  return LeUm("SELECT codigo, sigla, descricao FROM unidade_medida_servico WHERE codigo = ?", {codigo}, registro,
              Unidade<REG_UNIDADES_MEDIDA_SERVICOSPS>);
}

com::HRESULT CConexaoProduto::LePisCofinsServico(std::uint32_t codigo, std::uint16_t* pis, std::uint16_t* cofins) {
  if (!pis || !cofins) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta("SELECT aliquota_pis, aliquota_cofins FROM servico WHERE codigo = ?", {codigo});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    *pis = static_cast<std::uint16_t>(linhas.front().Inteiro(0));
    *cofins = static_cast<std::uint16_t>(linhas.front().Inteiro(1));
    return com::S_OK;
  });
}

com::HRESULT CConexaoProduto::LePisCofins(std::uint32_t produto,
                                          std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS>* aliquotas) {
  return LeVarios(
      "SELECT produto, tipo, inicio, fim, aliquota FROM produto_pis_cofins WHERE produto = ? ORDER BY tipo, inicio",
      {produto}, aliquotas, AliquotaPisCofins);
}

com::HRESULT CConexaoProduto::LeProdutos(const std::vector<std::uint32_t>& codigos, std::uint16_t filial,
                                       std::map<std::uint32_t, REG_PRODUTOPS>* produtos) {
  if (!produtos) return com::E_POINTER;
  produtos->clear();
  return LePorChaves(
      codigos, {filial},
      [](const std::string& lista) { return QMX_PRODUTO_NA_FILIAL "WHERE p.codigo IN (" + lista + ")"; },
      [&](const LinhaDados& l) {
        const REG_PRODUTOPS produto = leitura::Produto(l);
        produtos->emplace(produto.Codigo, produto);
      });
}

com::HRESULT CConexaoProduto::LeUnidades(const std::vector<std::uint16_t>& codigos,
                                         std::map<std::uint16_t, REG_UNIDADES_MEDIDAPS>* unidades) {
  if (!unidades) return com::E_POINTER;
  unidades->clear();
  return LePorChaves(
      codigos, {},
      [](const std::string& lista) {
        return "SELECT codigo, sigla, descricao FROM unidade_medida WHERE codigo IN (" + lista + ")";
      },
      [&](const LinhaDados& l) {
        const auto unidade = Unidade<REG_UNIDADES_MEDIDAPS>(l);
        unidades->emplace(unidade.Codigo, unidade);
      });
}

com::HRESULT CConexaoProduto::LePisCofinsDeVarios(
    const std::vector<std::uint32_t>& produtos,
    std::map<std::uint32_t, std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS>>* aliquotas) {
  if (!aliquotas) return com::E_POINTER;
  aliquotas->clear();
  for (const std::uint32_t produto : produtos) (*aliquotas)[produto];
  const com::HRESULT lido = LePorChaves(
      produtos, {},
      [](const std::string& lista) {
        return "SELECT produto, tipo, inicio, fim, aliquota FROM produto_pis_cofins WHERE produto IN (" + lista +
               ") ORDER BY produto, tipo, inicio";
      },
      [&](const LinhaDados& l) {
        const auto aliquota = AliquotaPisCofins(l);
        (*aliquotas)[aliquota.Produto].push_back(aliquota);
      });
  if (com::FAILED(lido)) aliquotas->clear();
  return lido;
}

com::HRESULT CConexaoProduto::PercorreProdutos(std::uint16_t filial,
                                               const std::function<bool(const REG_PRODUTOPS&)>& porProduto) {
  return Executa([&](CSessaoDados& s) {
    auto cursor = s.Abre(kPercorreProdutos, {filial});
    while (cursor->Proxima())
      if (!Chama(porProduto, leitura::Produto(*cursor))) break;
    return com::S_OK;
  });
}

com::HRESULT CConexaoProduto::LeTabelaPreco(std::uint8_t tipo, std::uint16_t codigo, REG_TABELA_PRECOPS* registro) {
  return LeUm("SELECT tipo, codigo, descricao FROM tabela_preco WHERE tipo = ? AND codigo = ?", {tipo, codigo},
              registro, [](const LinhaDados& l) {
                auto r = leitura::Zerado<REG_TABELA_PRECOPS>();
                r.Tipo = static_cast<std::uint8_t>(l.Inteiro(0));
                r.Codigo = static_cast<std::uint16_t>(l.Inteiro(1));
                CopiaTexto(r.Descricao, l.Texto(2));
                return r;
              });
}

com::HRESULT CConexaoProduto::PercorreTabelaPreco(
    std::uint8_t tipo, std::uint16_t tabela, const std::function<bool(const REG_ITEM_TABELA_PRECOPS&)>& porItem) {
  return Executa([&](CSessaoDados& s) {
    // A table that does not exist is a failure, not an empty table.
    if (s.Consulta("SELECT 1 FROM tabela_preco WHERE tipo = ? AND codigo = ?", {tipo, tabela}).empty())
      return QMX_E_REGISTRO_INEXISTENTE;
    auto cursor = s.Abre(
        "SELECT tipo, tabela, item, preco FROM tabela_preco_item WHERE tipo = ? AND tabela = ? ORDER BY item",
        {tipo, tabela});
    while (cursor->Proxima()) {
      auto r = leitura::Zerado<REG_ITEM_TABELA_PRECOPS>();
      r.Tipo = static_cast<std::uint8_t>(cursor->Inteiro(0));
      r.Tabela = static_cast<std::uint16_t>(cursor->Inteiro(1));
      r.Item = static_cast<std::uint32_t>(cursor->Inteiro(2));
      r.Preco = CY{cursor->Inteiro(3)};
      if (!Chama(porItem, r)) break;
    }
    return com::S_OK;
  });
}

}  // namespace qmx::dados
