#include "plataforma/dados/GravadorMovimento.h"

#include <algorithm>
#include <string>

#include "plataforma/dados/InsercaoDados.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

namespace {

std::string Letra(char c) { return c ? std::string(1, c) : std::string(); }

const std::vector<std::string> kColunasCupom = {"id", "filial", "emissora", "data", "hora", "coo", "ccf",
                                                "sequencia", "status", "origem", "cancelado", "cliente",
                                                "documento_cliente", "nome_cliente", "condicao_pagamento",
                                                "subtotal", "desconto", "total", "numero_inicial", "numero_final"};
const std::vector<std::string> kColunasItem = {"cupom", "item", "servico", "codigo", "descricao", "quantidade",
                                               "valor_unitario", "desconto", "valor_total", "aliquota", "tributacao",
                                               "cancelado", "excluido", "integrado_estoque", "cst", "unidade", "ncm"};
const std::vector<std::string> kColunasPagamento = {"cupom", "sequencia", "forma", "valor", "gnf",
                                                    "titular", "cidade", "telefone", "mensagem"};
const std::vector<std::string> kColunasParcela = {"cupom", "sequencia", "valor", "tipo_documento", "vencimento"};

// A product item sold without its tax situation, unit or NCM takes them
// from the product's register as it is when the cupom is written: the
// tax situation of the cupom's branch when the register's tax letter is
// the item's, otherwise the item's letter's own after the register's
// origin digit (00 taxed, 60 substitution, 40 exempt, 41 not taxed). The
// item keeps them, whatever the register says later. (The schema's
// migrations filled the items written before with the same rules.)
constexpr const char* kProdutoDaVenda =
    "UPDATE cupom_item SET cst = CASE WHEN cst <> '' THEN cst ELSE COALESCE(("
    "SELECT CASE WHEN pf.tributacao = cupom_item.tributacao AND pf.situacao_tributaria <> '' "
    "THEN pf.situacao_tributaria ELSE COALESCE(NULLIF(SUBSTR(pf.situacao_tributaria, 1, 1), ''), '0') || "
    "CASE cupom_item.tributacao WHEN 'F' THEN '60' WHEN 'I' THEN '40' WHEN 'N' THEN '41' ELSE '00' END END "
    "FROM cupom c JOIN produto_filial pf ON pf.produto = cupom_item.codigo AND pf.filial = c.filial "
    "WHERE c.id = cupom_item.cupom), '0' || "
    "CASE cupom_item.tributacao WHEN 'F' THEN '60' WHEN 'I' THEN '40' WHEN 'N' THEN '41' ELSE '00' END) END, "
    "unidade = CASE WHEN unidade <> 0 THEN unidade ELSE "
    "COALESCE((SELECT p.unidade FROM produto p WHERE p.codigo = cupom_item.codigo), 0) END, "
    "ncm = CASE WHEN ncm <> '' THEN ncm ELSE COALESCE((SELECT p.ncm FROM produto p WHERE p.codigo = "
    "cupom_item.codigo), '') END "
    "WHERE cupom >= ? AND cupom <= ? AND servico = 0 AND (cst = '' OR unidade = 0 OR ncm = '')";
// A service item's unit, likewise.
constexpr const char* kServicoDaVenda =
    "UPDATE cupom_item SET unidade = COALESCE((SELECT s.unidade FROM servico s WHERE s.codigo = "
    "cupom_item.codigo), 0) WHERE cupom >= ? AND cupom <= ? AND servico = 1 AND unidade = 0";
// A nota's items and participant, likewise, when the nota is written.
constexpr const char* kProdutoDaNota =
    "UPDATE nota_fiscal_item SET cst = CASE WHEN cst <> '' THEN cst ELSE COALESCE((SELECT pf.situacao_tributaria "
    "FROM nota_fiscal n JOIN produto_filial pf ON pf.produto = nota_fiscal_item.codigo AND pf.filial = n.filial "
    "WHERE n.id = nota_fiscal_item.nota), '') END, "
    "unidade = CASE WHEN unidade <> 0 THEN unidade ELSE "
    "COALESCE((SELECT p.unidade FROM produto p WHERE p.codigo = nota_fiscal_item.codigo), 0) END, "
    "ncm = CASE WHEN ncm <> '' THEN ncm ELSE COALESCE((SELECT p.ncm FROM produto p WHERE p.codigo = "
    "nota_fiscal_item.codigo), '') END WHERE nota = ? AND servico = 0";
constexpr const char* kParticipanteDaNota =
    "INSERT INTO nota_fiscal_participante (nota, codigo, nome, tipo_pessoa, cnpj_cpf, inscricao_estadual, "
    "estrangeiro, pais, uf, municipio, suframa, endereco, numero, complemento, bairro, cep, telefone, "
    "conta_contabil) SELECT ?, c.codigo, c.nome, c.tipo_pessoa, c.cnpj_cpf, c.inscricao_estadual, c.estrangeiro, "
    "c.pais, c.uf, c.municipio, c.suframa, c.endereco, c.numero, c.complemento, c.bairro, c.cep, c.telefone, "
    "c.conta_contabil FROM cfrt c WHERE c.codigo = ?";

}  // namespace

std::uint32_t CGravadorMovimento::ProximaChave(const char* tabela, std::uint32_t& proxima) {
  if (proxima == 0) {
    const auto linhas = m_sessao.Consulta(std::string("SELECT COALESCE(MAX(id), 0) FROM ") + tabela, {});
    proxima = static_cast<std::uint32_t>(linhas.front().Inteiro(0)) + 1;
  }
  return proxima++;
}

std::uint32_t CGravadorMovimento::GravaNota(const REG_NOTA_FISCALPS& n, const std::vector<REG_ITENS_NF_PS>& itens,
                                            const std::vector<REG_NF_PAGAMENTOPS>& pagamentos) {
  const std::uint32_t id = n.Id ? n.Id : ProximaChave("nota_fiscal", m_proximaNota);
  InsereOuSubstitui(
      m_sessao, "nota_fiscal",
      {"id", "filial", "tipo_documento", "serie", "numero", "data", "participante", "cancelada", "inutilizada",
       "denegada", "chave_nfe", "codigo_tipo", "observacao", "condicao_pagamento", "valor_total", "desconto",
       "abatimento1", "abatimento2", "valor_mercadorias", "indicador_frete", "frete", "seguro", "outras_despesas",
       "base_icms", "icms", "base_st", "icms_st", "ipi", "pis", "cofins", "pis_st", "cofins_st", "isentas", "outras"},
      1,
      {id, n.Filial, n.TipoDocumento, TextoParaBase(n.Serie), n.Numero, n.Data, n.Participante, n.Cancelada,
       n.Inutilizada, n.Denegada, TextoParaBase(n.ChaveNFe), n.CodigoTipo, TextoParaBase(n.Observacao),
       n.CondicaoPagamento, n.ValorTotal.int64, n.Desconto.int64, n.Abatimento1.int64, n.Abatimento2.int64,
       n.ValorMercadorias.int64, n.IndicadorFrete, n.Frete.int64, n.Seguro.int64, n.OutrasDespesas.int64,
       n.BaseICMS.int64, n.ICMS.int64, n.BaseST.int64, n.ICMSST.int64, n.IPI.int64, n.PIS.int64, n.COFINS.int64,
       n.PISST.int64, n.COFINSST.int64, n.Isentas.int64, n.Outras.int64});
  m_sessao.Enfileira("DELETE FROM nota_fiscal_item WHERE nota = ?", {id});
  for (const auto& i : itens)
    m_sessao.Enfileira(
        "INSERT INTO nota_fiscal_item (nota, sequencia, servico, codigo, descricao, quantidade, valor_item, "
        "desconto_unitario, indicador_movimento, natureza, base_icms, aliquota_icms, icms, base_st, aliquota_st, "
        "icms_st, reducao_base, base_ipi, aliquota_ipi, ipi, cst_pis, base_pis, aliquota_pis, pis, cst_cofins, "
        "base_cofins, aliquota_cofins, cofins, cst, unidade, ncm) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {id, i.Sequencia, i.Servico, i.Codigo, TextoParaBase(i.Descricao), i.Quantidade.int64, i.ValorItem.int64,
         i.DescontoUnitario, i.IndicadorMovimento, i.Natureza, i.BaseICMS.int64, i.AliquotaICMS, i.ICMS.int64,
         i.BaseST.int64, i.AliquotaST, i.ICMSST.int64, i.ReducaoBase.int64, i.BaseIPI.int64, i.AliquotaIPI,
         i.IPI.int64, i.CstPIS, i.BasePIS.int64, i.AliquotaPIS, i.PIS.int64, i.CstCOFINS, i.BaseCOFINS.int64,
         i.AliquotaCOFINS, i.COFINS.int64, TextoParaBase(i.CST), i.Unidade, TextoParaBase(i.NCM)});
  m_sessao.Enfileira(kProdutoDaNota, {id});
  m_sessao.Enfileira("DELETE FROM nota_fiscal_participante WHERE nota = ?", {id});
  m_sessao.Enfileira(kParticipanteDaNota, {id, n.Participante});
  m_sessao.Enfileira("DELETE FROM nota_fiscal_pagamento WHERE nota = ?", {id});
  for (const auto& p : pagamentos)
    m_sessao.Enfileira("INSERT INTO nota_fiscal_pagamento (nota, sequencia, forma, valor) VALUES (?, ?, ?, ?)",
                       {id, p.Sequencia, p.Forma, p.Valor.int64});
  return id;
}

std::uint32_t CGravadorMovimento::GravaCupom(const REG_EC_CXPS& c, const std::vector<REG_EC_CX_CIPS>& itens,
                                             const std::vector<REG_EC_CX_PAGAMENTOPS>& pagamentos,
                                             const std::vector<REG_EC_CX_PARCELAPS>& parcelas) {
  std::vector<CupomCompleto> um{{c, itens, pagamentos, parcelas}};
  GravaCupons(um);
  return um.front().Cupom.Id;
}

void CGravadorMovimento::GravaCupons(std::vector<CupomCompleto>& cupons) {
  std::vector<ParametroDados> cabecalhos, itens, pagamentos, parcelas;
  // The keys of the cupons with items sold without what they keep.
  std::uint32_t semProduto[2] = {0xFFFFFFFFu, 0}, semServico[2] = {0xFFFFFFFFu, 0};
  for (auto& completo : cupons) {
    auto& c = completo.Cupom;
    if (!c.Id) c.Id = ProximaChave("cupom", m_proximoCupom);
    const std::uint32_t id = c.Id;
    for (const auto& i : completo.Itens) {
      auto& faixa = i.Servico ? semServico : semProduto;
      if (i.Servico ? i.Unidade == 0 : !i.CST[0] || !i.Unidade || !i.NCM[0]) {
        faixa[0] = std::min(faixa[0], id);
        faixa[1] = std::max(faixa[1], id);
      }
    }
    cabecalhos.insert(cabecalhos.end(),
                      {id, c.Filial, c.Emissora, c.Data, c.Hora, c.COO, c.CCF, c.Sequencia, c.Status, c.Origem,
                       c.Cancelado, c.Cliente, TextoParaBase(c.DocumentoCliente), TextoParaBase(c.NomeCliente),
                       c.CondicaoPagamento, c.Subtotal.int64, c.Desconto.int64, c.Total.int64, c.NumeroInicial,
                       c.NumeroFinal});
    for (const auto& i : completo.Itens)
      itens.insert(itens.end(),
                   {id, i.Item, i.Servico, i.Codigo, TextoParaBase(i.Descricao), i.Quantidade.int64,
                    i.ValorUnitario.int64, i.Desconto.int64, i.ValorTotal.int64, i.AliquotaCentesimos,
                    TextoParaBase(Letra(static_cast<char>(i.TipoTributacao)).c_str(), 1), i.Cancelado, i.Excluido,
                    i.IntegradoEstoque, TextoParaBase(i.CST), i.Unidade, TextoParaBase(i.NCM)});
    for (const auto& p : completo.Pagamentos)
      pagamentos.insert(pagamentos.end(),
                        {id, p.Sequencia, p.Forma, p.Valor.int64, p.GNF, TextoParaBase(p.Titular),
                         TextoParaBase(p.Cidade), TextoParaBase(p.Telefone), TextoParaBase(p.Mensagem)});
    for (const auto& p : completo.Parcelas)
      parcelas.insert(parcelas.end(), {id, p.Sequencia, p.Valor.int64, p.TipoDocumento, p.Vencimento});
  }
  InsereLinhas(m_sessao, "cupom", kColunasCupom, cabecalhos);
  InsereLinhas(m_sessao, "cupom_item", kColunasItem, itens);
  InsereLinhas(m_sessao, "cupom_pagamento", kColunasPagamento, pagamentos);
  InsereLinhas(m_sessao, "cupom_parcela", kColunasParcela, parcelas);
  if (semProduto[1]) m_sessao.Enfileira(kProdutoDaVenda, {semProduto[0], semProduto[1]});
  if (semServico[1]) m_sessao.Enfileira(kServicoDaVenda, {semServico[0], semServico[1]});
}

void CGravadorMovimento::GravaReducaoZ(const REG_REDUCAO_ZPS& z, const std::vector<REG_REDUCAO_Z_ALIQUOTAPS>& aliquotas,
                                       const std::vector<REG_TOTALIZADOR_NAO_FISCALPS>& naoFiscais) {
  InsereOuSubstitui(m_sessao, "reducao_z",
                    {"emissora", "data", "crz", "cro", "coo_inicial", "coo_final", "venda_bruta", "grande_total",
                     "data_emissao", "hora_emissao", "substituicao", "isento", "nao_tributado", "cancelamentos",
                     "descontos", "acrescimos", "iss"},
                    2,
                    {z.Emissora, z.Data, z.CRZ, z.CRO, z.COOInicial, z.COOFinal, z.VendaBruta.int64,
                     z.GrandeTotal.int64, z.DataEmissao, z.HoraEmissao, z.Substituicao.int64, z.Isento.int64,
                     z.NaoTributado.int64, z.Cancelamentos.int64, z.Descontos.int64, z.Acrescimos.int64,
                     z.ISS.int64});
  m_sessao.Enfileira("DELETE FROM reducao_z_aliquota WHERE emissora = ? AND data = ?", {z.Emissora, z.Data});
  for (const auto& a : aliquotas)
    m_sessao.Enfileira(
        "INSERT INTO reducao_z_aliquota (emissora, data, posicao, tipo, aliquota, valor) VALUES (?, ?, ?, ?, ?, ?)",
        {z.Emissora, z.Data, a.Posicao, TextoParaBase(Letra(a.Tipo).c_str(), 1), a.Aliquota, a.Valor.int64});
  m_sessao.Enfileira("DELETE FROM reducao_z_nao_fiscal WHERE emissora = ? AND data = ?", {z.Emissora, z.Data});
  for (const auto& t : naoFiscais)
    m_sessao.Enfileira("INSERT INTO reducao_z_nao_fiscal (emissora, data, codigo, valor) VALUES (?, ?, ?, ?)",
                       {z.Emissora, z.Data, t.Codigo, t.Valor.int64});
}

void CGravadorMovimento::GravaDocumentoECF(const REG_DOCUMENTO_ECFPS& d) {
  InsereOuSubstitui(m_sessao, "documento_ecf", {"emissora", "coo", "data", "hora", "tipo", "gnf", "grg", "cdc"}, 2,
                    {d.Emissora, d.COO, d.Data, d.Hora, d.Tipo, d.GNF, d.GRG, d.CDC});
}

std::uint32_t CGravadorMovimento::GravaDAV(const REG_DAVPS& d, const std::vector<REG_DAV_ITEMPS>& itens) {
  const std::uint32_t id = d.Id ? d.Id : ProximaChave("dav", m_proximoDAV);
  InsereOuSubstitui(m_sessao, "dav",
                    {"id", "filial", "emissora", "numero", "data", "valor", "coo_dav", "coo_cupom", "cliente"}, 1,
                    {id, d.Filial, d.Emissora, d.Numero, d.Data, d.Valor.int64, d.COODAV, d.COOCupom, d.Cliente});
  m_sessao.Enfileira("DELETE FROM dav_item WHERE dav = ?", {id});
  for (const auto& i : itens)
    m_sessao.Enfileira(
        "INSERT INTO dav_item (dav, item, produto, quantidade, valor_unitario, desconto, acrescimo, valor_total, "
        "tributacao, aliquota, cancelado) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {id, i.Item, i.Produto, i.Quantidade.int64, i.ValorUnitario.int64, i.Desconto.int64, i.Acrescimo.int64,
         i.ValorTotal.int64, TextoParaBase(Letra(i.Tributacao).c_str(), 1), i.Aliquota, i.Cancelado});
  return id;
}

void CGravadorMovimento::GravaPosicao(const REG_ES_POSICAOPS& p) {
  InsereOuSubstitui(m_sessao, "estoque_posicao", {"filial", "produto", "data", "quantidade"}, 3,
                    {p.Filial, p.Produto, p.Data, p.Quantidade.int64});
}

void CGravadorMovimento::GravaSaldoInventario(const REG_ES_SALDOS_INVENTARIOPS& s) {
  InsereOuSubstitui(m_sessao, "estoque_inventario",
                    {"filial", "data", "produto", "quantidade", "valor_unitario", "valor_total"}, 3,
                    {s.Filial, s.Data, s.Produto, s.Quantidade.int64, s.ValorUnitario.int64, s.ValorTotal.int64});
}

}  // namespace qmx::dados
