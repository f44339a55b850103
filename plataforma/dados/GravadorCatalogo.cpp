#include "plataforma/dados/GravadorCatalogo.h"

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/InsercaoDados.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

namespace {

std::string Letra(char c) { return c ? std::string(1, c) : std::string(); }

}  // namespace

void CGravadorCatalogo::GravaProduto(const REG_PRODUTOPS& p) {
  InsereOuSubstitui(m_sessao, "produto",
                    {"codigo", "descricao", "unidade", "unidade_interrogacao", "ncm", "ex_ipi", "revenda", "situacao",
                     "inativo", "producao", "aliquota_st", "base_st", "reducao_base", "ipi_cst", "ipi_aliquota",
                     "ipi_apuracao", "conta_contabil", "conta_estoque", "conta_custo", "local_estoque",
                     "grade_contabil", "custo_ultima_compra"},
                    1,
                    {p.Codigo, TextoParaBase(p.Descricao), p.Unidade, p.UnidadeInterrogacao, TextoParaBase(p.NCM),
                     TextoParaBase(p.ExIPI), p.Revenda, TextoParaBase(Letra(p.Situacao).c_str(), 1), p.Inativo,
                     p.Producao, p.AliquotaST, p.BaseST.int64, p.ReducaoBase, TextoParaBase(p.CstIPI),
                     p.AliquotaIPI, p.ApuracaoIPI, TextoParaBase(p.ContaContabil), TextoParaBase(p.ContaEstoque),
                     TextoParaBase(p.ContaCusto), p.LocalEstoque, p.GradeContabil, p.CustoUltimaCompra.int64});
  if (p.Filial) GravaProdutoFilial(p.Codigo, p.Filial, p.SituacaoTributaria, p.Tributacao, p.AliquotaICMS);
}

void CGravadorCatalogo::GravaProdutoFilial(std::uint32_t produto, std::uint16_t filial,
                                           const char* situacaoTributaria, char tributacao,
                                           std::uint16_t aliquotaICMS) {
  InsereOuSubstitui(m_sessao, "produto_filial",
                    {"produto", "filial", "situacao_tributaria", "tributacao", "aliquota_icms"}, 2,
                    {produto, filial, TextoParaBase(situacaoTributaria, 4), TextoParaBase(Letra(tributacao).c_str(), 1),
                     aliquotaICMS});
}

namespace {

// Refuses when a document of an open period names the record: each query
// answers, per branch, the last date of the documents naming it.
void RecusaSeEmPeriodoAberto(CSessaoDados& s, const std::string& oQue, std::uint32_t codigo,
                             std::initializer_list<const char*> consultas) {
  for (const char* consulta : consultas)
    for (const auto& l : s.Consulta(consulta, {codigo})) {
      const auto filial = l.Inteiro(0);
      const auto data = static_cast<NumeroDia>(l.Inteiro(1));
      const auto bloqueio = s.Consulta("SELECT mes_bloqueado_contabil FROM filial WHERE numero = ?", {filial});
      const std::int64_t mes = bloqueio.empty() ? 0 : bloqueio.front().Inteiro(0);
      const DiaMesAno dia = DecodificaDia(data);
      if (mes != 0 && CodificaMes(dia.mes, dia.ano) <= mes) continue;
      throw CErroDados(QMX_E_REGISTRO_EM_USO, oQue + " " + std::to_string(codigo) +
                                                  " está em documentos de um período aberto (o último de " +
                                                  TextoData(data, true) + ", filial " + std::to_string(filial) +
                                                  ") e não pode ser excluído");
    }
}

}  // namespace

void CGravadorCatalogo::ExcluiProduto(std::uint32_t codigo) {
  RecusaSeEmPeriodoAberto(
      m_sessao, "o produto", codigo,
      {"SELECT c.filial, MAX(c.data) FROM cupom c JOIN cupom_item i ON i.cupom = c.id WHERE i.codigo = ? AND "
       "i.servico = 0 GROUP BY c.filial",
       "SELECT n.filial, MAX(n.data) FROM nota_fiscal n JOIN nota_fiscal_item i ON i.nota = n.id WHERE i.codigo = ? "
       "AND i.servico = 0 GROUP BY n.filial"});
  m_sessao.Enfileira("DELETE FROM produto WHERE codigo = ?", {codigo});
}

void CGravadorCatalogo::GravaPisCofins(const REG_ITENS_PIS_COFINS_PRODUTOPS& a) {
  InsereOuSubstitui(m_sessao, "produto_pis_cofins", {"produto", "tipo", "inicio", "fim", "aliquota"}, 3,
                    {a.Produto, a.Tipo, a.Inicio, a.Fim, a.Aliquota});
}

void CGravadorCatalogo::GravaServico(const REG_SERVICOSPS& s) {
  InsereOuSubstitui(m_sessao, "servico",
                    {"codigo", "descricao", "unidade", "unidade_interrogacao", "codigo_lst", "aliquota_iss",
                     "aliquota_pis", "aliquota_cofins", "ativo", "producao", "conta_contabil", "grade_contabil"},
                    1,
                    {s.Codigo, TextoParaBase(s.Descricao), s.Unidade, s.UnidadeInterrogacao,
                     TextoParaBase(s.CodigoLST), s.AliquotaISS, s.AliquotaPIS, s.AliquotaCOFINS, s.Ativo, s.Producao,
                     TextoParaBase(s.ContaContabil), s.GradeContabil});
}

void CGravadorCatalogo::GravaUnidade(const REG_UNIDADES_MEDIDAPS& u) {
  InsereOuSubstitui(m_sessao, "unidade_medida", {"codigo", "sigla", "descricao"}, 1,
                    {u.Codigo, TextoParaBase(u.Sigla), TextoParaBase(u.Descricao)});
}

void CGravadorCatalogo::GravaUnidadeServico(const REG_UNIDADES_MEDIDA_SERVICOSPS& u) {
  InsereOuSubstitui(m_sessao, "unidade_medida_servico", {"codigo", "sigla", "descricao"}, 1,
                    {u.Codigo, TextoParaBase(u.Sigla), TextoParaBase(u.Descricao)});
}

void CGravadorCatalogo::GravaTabelaPreco(const REG_TABELA_PRECOPS& t) {
  InsereOuSubstitui(m_sessao, "tabela_preco", {"tipo", "codigo", "descricao"}, 2,
                    {t.Tipo, t.Codigo, TextoParaBase(t.Descricao)});
}

void CGravadorCatalogo::GravaItemTabelaPreco(const REG_ITEM_TABELA_PRECOPS& i) {
  InsereOuSubstitui(m_sessao, "tabela_preco_item", {"tipo", "tabela", "item", "preco"}, 3,
                    {i.Tipo, i.Tabela, i.Item, i.Preco.int64});
}

void CGravadorCatalogo::GravaLocal(const REG_LOCAL_ESTOQUEPS& l) {
  InsereOuSubstitui(m_sessao, "local_estoque", {"codigo", "descricao", "conta_empresarial", "permite_negativo"}, 1,
                    {l.Codigo, TextoParaBase(l.Descricao), TextoParaBase(l.ContaEmpresarial), l.PermiteNegativo});
}

void CGravadorCatalogo::GravaCfrt(const ZTCFRT& c) {
  InsereOuSubstitui(m_sessao, "cfrt",
                    {"codigo", "nome", "tipo_pessoa", "cnpj_cpf", "inscricao_estadual", "estrangeiro", "pais", "uf",
                     "municipio", "suframa", "endereco", "numero", "complemento", "bairro", "cep", "telefone",
                     "conta_contabil"},
                    1,
                    {c.Codigo, TextoParaBase(c.Nome), TextoParaBase(Letra(c.TipoPessoa).c_str(), 1),
                     TextoParaBase(c.CnpjCpf), TextoParaBase(c.InscricaoEstadual), c.Estrangeiro,
                     TextoParaBase(c.Pais), TextoParaBase(c.UF), c.Municipio, TextoParaBase(c.Suframa),
                     TextoParaBase(c.Endereco), c.Numero, TextoParaBase(c.Complemento), TextoParaBase(c.Bairro),
                     TextoParaBase(c.Cep), TextoParaBase(c.Telefone), TextoParaBase(c.ContaContabil)});
}

void CGravadorCatalogo::ExcluiCfrt(std::uint32_t codigo) {
  RecusaSeEmPeriodoAberto(m_sessao, "o participante", codigo,
                          {"SELECT filial, MAX(data) FROM nota_fiscal WHERE participante = ? GROUP BY filial",
                           "SELECT filial, MAX(data) FROM cupom WHERE cliente = ? GROUP BY filial"});
  m_sessao.Enfileira("DELETE FROM cfrt WHERE codigo = ?", {codigo});
}

void CGravadorCatalogo::GravaDocumentoFiscal(const REG_DOC_FISCAIS& d) {
  InsereOuSubstitui(m_sessao, "documento_fiscal", {"codigo", "modelo", "descricao"}, 1,
                    {d.Codigo, TextoParaBase(d.Modelo), TextoParaBase(d.Descricao)});
}

void CGravadorCatalogo::GravaTipoDocumento(const REG_TIPO_DOCUMENTOPS& t) {
  InsereOuSubstitui(m_sessao, "tipo_documento", {"codigo", "descricao", "documento_fiscal"}, 1,
                    {t.Codigo, TextoParaBase(t.Descricao), t.DocumentoFiscal});
}

void CGravadorCatalogo::GravaNatureza(const REG_NATUREZAPS& n) {
  InsereOuSubstitui(m_sessao, "natureza", {"codigo", "descricao", "cfop"}, 1,
                    {n.Codigo, TextoParaBase(n.Descricao), TextoParaBase(n.Cfop)});
}

void CGravadorCatalogo::GravaCondicaoPagamento(const REG_CONDICAO_PAGAMENTOPS& c) {
  InsereOuSubstitui(m_sessao, "condicao_pagamento", {"codigo", "descricao", "a_vista"}, 1,
                    {c.Codigo, TextoParaBase(c.Descricao), c.AVista});
}

void CGravadorCatalogo::GravaFormaPagamento(const REG_FORMA_PAGAMENTOPS& f) {
  InsereOuSubstitui(m_sessao, "forma_pagamento", {"codigo", "nome", "a_prazo", "conta_entrada_fn"}, 1,
                    {f.Codigo, TextoParaBase(f.Nome), f.APrazo, TextoParaBase(f.ContaEntradaFN)});
}

void CGravadorCatalogo::GravaConta(const REG_PLANO_CONTAPS& c) {
  InsereOuSubstitui(m_sessao, "plano_conta", {"codigo", "descricao", "analitica", "exige_gerencial"}, 1,
                    {TextoParaBase(c.Codigo), TextoParaBase(c.Descricao), c.Analitica, c.ExigeGerencial});
}

void CGravadorCatalogo::GravaGrade(const REG_GRADE_CONTABILPS& g) {
  InsereOuSubstitui(m_sessao, "grade_contabil", {"codigo", "descricao", "conta_debito", "conta_credito"}, 1,
                    {g.Codigo, TextoParaBase(g.Descricao), TextoParaBase(g.ContaDebito), TextoParaBase(g.ContaCredito)});
}

}  // namespace qmx::dados
