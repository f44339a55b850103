#pragma once

#include <cstdint>
#include <cstring>

#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/dados/RegistroCatalogo.h"
#include "plataforma/dados/RegistroDAV.h"
#include "plataforma/dados/RegistroDocumentos.h"
#include "plataforma/dados/RegistroEstoque.h"
#include "plataforma/dados/RegistroIntegracao.h"
#include "plataforma/dados/RegistroNotaFiscal.h"
#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/calendario/NumeroDia.h"

// The columns of each movement and catalogue record, and how a row of them
// (a LinhaDados or a CCursorDados row) fills the record. Each QMX_COLUNAS_
// list is the SELECT list its Preenche reads, column by column; the
// connection classes add the FROM and WHERE of their operations.
namespace qmx::dados::leitura {

template <class T>
T Zerado() {
  T r;
  std::memset(&r, 0, sizeof r);
  return r;
}

template <class Linha>
CY Moeda(const Linha& l, int i) {
  return CY{l.Inteiro(i)};
}

template <class Linha>
char Letra(const Linha& l, int i) {
  const auto texto = l.Texto(i);
  return texto.empty() ? '\0' : texto[0];
}

#define QMX_COLUNAS_PRODUTO                                                                                  \
  "p.codigo, p.descricao, p.unidade, p.unidade_interrogacao, p.ncm, p.ex_ipi, p.revenda, p.situacao, "        \
  "p.inativo, p.producao, p.aliquota_st, p.base_st, p.reducao_base, p.ipi_cst, p.ipi_aliquota, p.ipi_apuracao, " \
  "p.conta_contabil, p.conta_estoque, p.conta_custo, p.local_estoque, p.grade_contabil, "                     \
  "COALESCE(f.filial, 0), COALESCE(f.situacao_tributaria, ''), COALESCE(f.tributacao, ''), "                  \
  "COALESCE(f.aliquota_icms, 0), p.custo_ultima_compra"

template <class Linha>
REG_PRODUTOPS Produto(const Linha& l) {
  auto r = Zerado<REG_PRODUTOPS>();
  r.Codigo = static_cast<std::uint32_t>(l.Inteiro(0));
  CopiaTexto(r.Descricao, l.Texto(1));
  r.Unidade = static_cast<std::uint16_t>(l.Inteiro(2));
  r.UnidadeInterrogacao = static_cast<std::uint8_t>(l.Inteiro(3));
  CopiaTexto(r.NCM, l.Texto(4));
  CopiaTexto(r.ExIPI, l.Texto(5));
  r.Revenda = static_cast<std::uint8_t>(l.Inteiro(6));
  r.Situacao = Letra(l, 7);
  r.Inativo = static_cast<std::uint8_t>(l.Inteiro(8));
  r.Producao = static_cast<std::uint8_t>(l.Inteiro(9));
  r.AliquotaST = static_cast<std::uint16_t>(l.Inteiro(10));
  r.BaseST = Moeda(l, 11);
  r.ReducaoBase = static_cast<std::uint16_t>(l.Inteiro(12));
  CopiaTexto(r.CstIPI, l.Texto(13));
  r.AliquotaIPI = static_cast<std::uint16_t>(l.Inteiro(14));
  r.ApuracaoIPI = static_cast<std::uint8_t>(l.Inteiro(15));
  CopiaTexto(r.ContaContabil, l.Texto(16));
  CopiaTexto(r.ContaEstoque, l.Texto(17));
  CopiaTexto(r.ContaCusto, l.Texto(18));
  r.LocalEstoque = static_cast<std::uint16_t>(l.Inteiro(19));
  r.GradeContabil = static_cast<std::uint16_t>(l.Inteiro(20));
  r.Filial = static_cast<std::uint16_t>(l.Inteiro(21));
  CopiaTexto(r.SituacaoTributaria, l.Texto(22));
  r.Tributacao = Letra(l, 23);
  r.AliquotaICMS = static_cast<std::uint16_t>(l.Inteiro(24));
  r.CustoUltimaCompra = Moeda(l, 25);
  return r;
}

#define QMX_COLUNAS_SERVICO                                                                                  \
  "codigo, descricao, unidade, unidade_interrogacao, codigo_lst, aliquota_iss, aliquota_pis, aliquota_cofins, " \
  "ativo, producao, conta_contabil, grade_contabil"

template <class Linha>
REG_SERVICOSPS Servico(const Linha& l) {
  auto r = Zerado<REG_SERVICOSPS>();
  r.Codigo = static_cast<std::uint32_t>(l.Inteiro(0));
  CopiaTexto(r.Descricao, l.Texto(1));
  r.Unidade = static_cast<std::uint16_t>(l.Inteiro(2));
  r.UnidadeInterrogacao = static_cast<std::uint8_t>(l.Inteiro(3));
  CopiaTexto(r.CodigoLST, l.Texto(4));
  r.AliquotaISS = static_cast<std::uint16_t>(l.Inteiro(5));
  r.AliquotaPIS = static_cast<std::uint16_t>(l.Inteiro(6));
  r.AliquotaCOFINS = static_cast<std::uint16_t>(l.Inteiro(7));
  r.Ativo = static_cast<std::uint8_t>(l.Inteiro(8));
  r.Producao = static_cast<std::uint8_t>(l.Inteiro(9));
  CopiaTexto(r.ContaContabil, l.Texto(10));
  r.GradeContabil = static_cast<std::uint16_t>(l.Inteiro(11));
  return r;
}

#define QMX_COLUNAS_CFRT                                                                                   \
  "codigo, nome, tipo_pessoa, cnpj_cpf, inscricao_estadual, estrangeiro, pais, uf, municipio, suframa, "    \
  "endereco, numero, complemento, bairro, cep, telefone, conta_contabil"

template <class Linha>
ZTCFRT Cfrt(const Linha& l) {
  auto r = Zerado<ZTCFRT>();
  r.Codigo = static_cast<std::uint32_t>(l.Inteiro(0));
  CopiaTexto(r.Nome, l.Texto(1));
  r.TipoPessoa = Letra(l, 2);
  CopiaTexto(r.CnpjCpf, l.Texto(3));
  CopiaTexto(r.InscricaoEstadual, l.Texto(4));
  r.Estrangeiro = static_cast<std::uint8_t>(l.Inteiro(5));
  CopiaTexto(r.Pais, l.Texto(6));
  CopiaTexto(r.UF, l.Texto(7));
  r.Municipio = static_cast<std::int32_t>(l.Inteiro(8));
  CopiaTexto(r.Suframa, l.Texto(9));
  CopiaTexto(r.Endereco, l.Texto(10));
  r.Numero = static_cast<std::int32_t>(l.Inteiro(11));
  CopiaTexto(r.Complemento, l.Texto(12));
  CopiaTexto(r.Bairro, l.Texto(13));
  CopiaTexto(r.Cep, l.Texto(14));
  CopiaTexto(r.Telefone, l.Texto(15));
  CopiaTexto(r.ContaContabil, l.Texto(16));
  return r;
}

#define QMX_COLUNAS_NOTA                                                                                       \
  "id, filial, tipo_documento, serie, numero, data, participante, cancelada, inutilizada, denegada, chave_nfe, " \
  "codigo_tipo, observacao, condicao_pagamento, valor_total, desconto, abatimento1, abatimento2, "               \
  "valor_mercadorias, indicador_frete, frete, seguro, outras_despesas, base_icms, icms, base_st, icms_st, ipi, " \
  "pis, cofins, pis_st, cofins_st, isentas, outras"

template <class Linha>
REG_NOTA_FISCALPS NotaFiscal(const Linha& l) {
  auto r = Zerado<REG_NOTA_FISCALPS>();
  r.Id = static_cast<std::uint32_t>(l.Inteiro(0));
  r.Filial = static_cast<std::uint16_t>(l.Inteiro(1));
  r.TipoDocumento = static_cast<std::uint16_t>(l.Inteiro(2));
  CopiaTexto(r.Serie, l.Texto(3));
  r.Numero = static_cast<std::uint32_t>(l.Inteiro(4));
  r.Data = static_cast<NumeroDia>(l.Inteiro(5));
  r.Participante = static_cast<std::uint32_t>(l.Inteiro(6));
  r.Cancelada = static_cast<std::uint8_t>(l.Inteiro(7));
  r.Inutilizada = static_cast<std::uint8_t>(l.Inteiro(8));
  r.Denegada = static_cast<std::uint8_t>(l.Inteiro(9));
  CopiaTexto(r.ChaveNFe, l.Texto(10));
  r.CodigoTipo = static_cast<std::uint16_t>(l.Inteiro(11));
  CopiaTexto(r.Observacao, l.Texto(12));
  r.CondicaoPagamento = static_cast<std::uint16_t>(l.Inteiro(13));
  CY* valores[] = {&r.ValorTotal, &r.Desconto, &r.Abatimento1, &r.Abatimento2, &r.ValorMercadorias};
  for (int i = 0; i < 5; ++i) *valores[i] = Moeda(l, 14 + i);
  r.IndicadorFrete = static_cast<std::uint8_t>(l.Inteiro(19));
  CY* demais[] = {&r.Frete, &r.Seguro, &r.OutrasDespesas, &r.BaseICMS, &r.ICMS, &r.BaseST, &r.ICMSST, &r.IPI,
                  &r.PIS,   &r.COFINS, &r.PISST,          &r.COFINSST, &r.Isentas, &r.Outras};
  for (int i = 0; i < 14; ++i) *demais[i] = Moeda(l, 20 + i);
  return r;
}

#define QMX_COLUNAS_ITEM_NOTA                                                                                    \
  "nota, sequencia, servico, codigo, descricao, quantidade, valor_item, desconto_unitario, indicador_movimento, " \
  "natureza, base_icms, aliquota_icms, icms, base_st, aliquota_st, icms_st, reducao_base, base_ipi, aliquota_ipi, " \
  "ipi, cst_pis, base_pis, aliquota_pis, pis, cst_cofins, base_cofins, aliquota_cofins, cofins, cst, unidade, ncm"

template <class Linha>
REG_ITENS_NF_PS ItemNota(const Linha& l) {
  auto r = Zerado<REG_ITENS_NF_PS>();
  r.Nota = static_cast<std::uint32_t>(l.Inteiro(0));
  r.Sequencia = static_cast<std::uint16_t>(l.Inteiro(1));
  r.Servico = static_cast<std::uint8_t>(l.Inteiro(2));
  r.Codigo = static_cast<std::uint32_t>(l.Inteiro(3));
  CopiaTexto(r.Descricao, l.Texto(4));
  r.Quantidade = Moeda(l, 5);
  r.ValorItem = Moeda(l, 6);
  r.DescontoUnitario = l.Inteiro(7);
  r.IndicadorMovimento = static_cast<std::uint8_t>(l.Inteiro(8));
  r.Natureza = static_cast<std::uint16_t>(l.Inteiro(9));
  r.BaseICMS = Moeda(l, 10);
  r.AliquotaICMS = static_cast<std::uint16_t>(l.Inteiro(11));
  r.ICMS = Moeda(l, 12);
  r.BaseST = Moeda(l, 13);
  r.AliquotaST = static_cast<std::uint16_t>(l.Inteiro(14));
  r.ICMSST = Moeda(l, 15);
  r.ReducaoBase = Moeda(l, 16);
  r.BaseIPI = Moeda(l, 17);
  r.AliquotaIPI = static_cast<std::uint16_t>(l.Inteiro(18));
  r.IPI = Moeda(l, 19);
  r.CstPIS = static_cast<std::uint8_t>(l.Inteiro(20));
  r.BasePIS = Moeda(l, 21);
  r.AliquotaPIS = static_cast<std::uint16_t>(l.Inteiro(22));
  r.PIS = Moeda(l, 23);
  r.CstCOFINS = static_cast<std::uint8_t>(l.Inteiro(24));
  r.BaseCOFINS = Moeda(l, 25);
  r.AliquotaCOFINS = static_cast<std::uint16_t>(l.Inteiro(26));
  r.COFINS = Moeda(l, 27);
  CopiaTexto(r.CST, l.Texto(28));
  r.Unidade = static_cast<std::uint16_t>(l.Inteiro(29));
  CopiaTexto(r.NCM, l.Texto(30));
  return r;
}

// A cupom's columns: first what the files' ECF lines show of it (the
// movement file, the SPED and Sintegra lines), then the rest.
#define QMX_COLUNAS_CUPOM_RESUMIDO \
  "c.id, c.data, c.coo, c.ccf, c.status, c.cancelado, c.cliente, c.documento_cliente, c.nome_cliente, c.total"
#define QMX_COLUNAS_CUPOM                                                                         \
  QMX_COLUNAS_CUPOM_RESUMIDO ", c.filial, c.emissora, c.hora, c.sequencia, c.origem, c.condicao_pagamento, " \
                              "c.subtotal, c.desconto, c.numero_inicial, c.numero_final"

// A cupom from its first columns alone: the others stay zero.
template <class Linha>
REG_EC_CXPS CupomResumido(const Linha& l) {
  auto r = Zerado<REG_EC_CXPS>();
  r.Id = static_cast<std::uint32_t>(l.Inteiro(0));
  r.Data = static_cast<NumeroDia>(l.Inteiro(1));
  r.COO = static_cast<std::uint32_t>(l.Inteiro(2));
  r.CCF = static_cast<std::uint32_t>(l.Inteiro(3));
  r.Status = static_cast<std::uint8_t>(l.Inteiro(4));
  r.Cancelado = static_cast<std::uint8_t>(l.Inteiro(5));
  r.Cliente = static_cast<std::uint32_t>(l.Inteiro(6));
  CopiaTexto(r.DocumentoCliente, l.Texto(7));
  CopiaTexto(r.NomeCliente, l.Texto(8));
  r.Total = Moeda(l, 9);
  return r;
}

template <class Linha>
REG_EC_CXPS Cupom(const Linha& l) {
  auto r = CupomResumido(l);
  r.Filial = static_cast<std::uint16_t>(l.Inteiro(10));
  r.Emissora = static_cast<std::uint16_t>(l.Inteiro(11));
  r.Hora = static_cast<std::int32_t>(l.Inteiro(12));
  r.Sequencia = static_cast<std::uint32_t>(l.Inteiro(13));
  r.Origem = static_cast<std::uint8_t>(l.Inteiro(14));
  r.CondicaoPagamento = static_cast<std::uint16_t>(l.Inteiro(15));
  r.Subtotal = Moeda(l, 16);
  r.Desconto = Moeda(l, 17);
  r.NumeroInicial = static_cast<std::uint32_t>(l.Inteiro(18));
  r.NumeroFinal = static_cast<std::uint32_t>(l.Inteiro(19));
  return r;
}

// An item's columns: first those every walk's lines use, then the
// description, NCM, unit and stock marks.
#define QMX_COLUNAS_ITEM_CUPOM_TRIBUTADO                                                                      \
  "i.cupom, i.item, i.servico, i.codigo, i.quantidade, i.valor_unitario, i.desconto, i.valor_total, "         \
  "i.aliquota, i.tributacao, i.cancelado, i.cst"
#define QMX_COLUNAS_ITEM_CUPOM_DESCRITO QMX_COLUNAS_ITEM_CUPOM_TRIBUTADO ", i.descricao"
#define QMX_COLUNAS_ITEM_CUPOM \
  QMX_COLUNAS_ITEM_CUPOM_DESCRITO ", i.excluido, i.integrado_estoque, i.unidade, i.ncm"

// An item from the first columns alone, for a walk whose lines never show
// the others: the engine does not read them, and their fields stay empty.
template <class Linha>
void ItemCupomTributado(const Linha& l, REG_EC_CX_CIPS& r) {
  std::memset(&r, 0, sizeof r);
  r.Cupom = static_cast<std::uint32_t>(l.Inteiro(0));
  r.Item = static_cast<std::uint16_t>(l.Inteiro(1));
  r.Servico = static_cast<std::uint8_t>(l.Inteiro(2));
  r.Codigo = static_cast<std::uint32_t>(l.Inteiro(3));
  r.Quantidade = Moeda(l, 4);
  r.ValorUnitario = Moeda(l, 5);
  r.Desconto = Moeda(l, 6);
  r.ValorTotal = Moeda(l, 7);
  r.AliquotaCentesimos = static_cast<std::uint16_t>(l.Inteiro(8));
  r.TipoTributacao = static_cast<std::uint8_t>(Letra(l, 9));
  r.Cancelado = static_cast<std::uint8_t>(l.Inteiro(10));
  CopiaTexto(r.CST, l.Texto(11));
  // The calculation fields: the value with eight decimals and the rate as
  // a percentage with four. An amount beyond what eight decimals hold wraps
  // as the 64-bit arithmetic of the platform does.
  r.ValorItem = static_cast<std::int64_t>(static_cast<std::uint64_t>(r.ValorTotal.int64) * 10000u);
  r.Aliquota = CY{static_cast<std::int64_t>(r.AliquotaCentesimos) * 100};
}

// The item with its description, without its NCM, unit and stock marks.
// A walk over many cupons passes its converted descriptions along.
template <class Linha>
void ItemCupomDescrito(const Linha& l, REG_EC_CX_CIPS& r, CDescricoesConvertidas* descricoes = nullptr) {
  ItemCupomTributado(l, r);
  if (descricoes) descricoes->Copia(r.Descricao, std::uint64_t{r.Servico} << 32 | r.Codigo, l.Texto(12));
  else CopiaTexto(r.Descricao, l.Texto(12));
}

// The whole item.
template <class Linha>
void ItemCupom(const Linha& l, REG_EC_CX_CIPS& r, CDescricoesConvertidas* descricoes = nullptr) {
  ItemCupomDescrito(l, r, descricoes);
  r.Excluido = static_cast<std::uint8_t>(l.Inteiro(13));
  r.IntegradoEstoque = static_cast<std::uint8_t>(l.Inteiro(14));
  r.Unidade = static_cast<std::uint16_t>(l.Inteiro(15));
  CopiaTexto(r.NCM, l.Texto(16));
}

// A payment's columns: first what says how much was paid and how, then the
// holder's texts (card slips, cheques).
#define QMX_COLUNAS_PAGAMENTO_VALOR "p.cupom, p.sequencia, p.forma, p.valor, p.gnf"
#define QMX_COLUNAS_PAGAMENTO QMX_COLUNAS_PAGAMENTO_VALOR ", p.titular, p.cidade, p.telefone, p.mensagem"

// A payment from its first columns alone: the holder's texts stay empty.
template <class Linha>
REG_EC_CX_PAGAMENTOPS PagamentoValor(const Linha& l) {
  auto r = Zerado<REG_EC_CX_PAGAMENTOPS>();
  r.Cupom = static_cast<std::uint32_t>(l.Inteiro(0));
  r.Sequencia = static_cast<std::uint16_t>(l.Inteiro(1));
  r.Forma = static_cast<std::uint16_t>(l.Inteiro(2));
  r.Valor = Moeda(l, 3);
  r.GNF = static_cast<std::uint32_t>(l.Inteiro(4));
  return r;
}

template <class Linha>
REG_EC_CX_PAGAMENTOPS Pagamento(const Linha& l) {
  auto r = PagamentoValor(l);
  CopiaTexto(r.Titular, l.Texto(5));
  CopiaTexto(r.Cidade, l.Texto(6));
  CopiaTexto(r.Telefone, l.Texto(7));
  CopiaTexto(r.Mensagem, l.Texto(8));
  return r;
}

#define QMX_COLUNAS_PARCELA "p.cupom, p.sequencia, p.valor, p.tipo_documento, p.vencimento"

template <class Linha>
REG_EC_CX_PARCELAPS Parcela(const Linha& l) {
  auto r = Zerado<REG_EC_CX_PARCELAPS>();
  r.Cupom = static_cast<std::uint32_t>(l.Inteiro(0));
  r.Sequencia = static_cast<std::uint16_t>(l.Inteiro(1));
  r.Valor = Moeda(l, 2);
  r.TipoDocumento = static_cast<std::uint16_t>(l.Inteiro(3));
  r.Vencimento = static_cast<NumeroDia>(l.Inteiro(4));
  return r;
}

#define QMX_COLUNAS_TITULO                                                                                   \
  "t.filial, t.data, t.emissora, t.cupom, t.cliente, t.forma, t.numero, t.vencimento, t.valor, t.conta, "   \
  "t.historico, t.chave, t.tipo_documento, t.data_liquidacao"

template <class Linha>
REG_TITULO_RECEBERPS Titulo(const Linha& l) {
  auto r = Zerado<REG_TITULO_RECEBERPS>();
  r.Filial = static_cast<std::uint16_t>(l.Inteiro(0));
  r.Data = static_cast<NumeroDia>(l.Inteiro(1));
  r.Emissora = static_cast<std::uint16_t>(l.Inteiro(2));
  r.Cupom = static_cast<std::uint32_t>(l.Inteiro(3));
  r.Cliente = static_cast<std::uint32_t>(l.Inteiro(4));
  r.Forma = static_cast<std::uint16_t>(l.Inteiro(5));
  r.Numero = static_cast<std::uint32_t>(l.Inteiro(6));
  r.Vencimento = static_cast<NumeroDia>(l.Inteiro(7));
  r.Valor = Moeda(l, 8);
  CopiaTexto(r.Conta, l.Texto(9));
  CopiaTexto(r.Historico, l.Texto(10));
  r.Chave = static_cast<std::int32_t>(l.Inteiro(11));
  r.TipoDocumento = static_cast<std::uint16_t>(l.Inteiro(12));
  r.DataLiquidacao = static_cast<NumeroDia>(l.Inteiro(13));
  return r;
}

#define QMX_COLUNAS_LANCAMENTO \
  "filial, data, conta_debito, conta_credito, valor, historico, gerencial, origem, chave, movimento, emissora"

template <class Linha>
REG_CONTABILIDADEPS Lancamento(const Linha& l) {
  auto r = Zerado<REG_CONTABILIDADEPS>();
  r.Filial = static_cast<std::uint16_t>(l.Inteiro(0));
  r.Data = static_cast<NumeroDia>(l.Inteiro(1));
  CopiaTexto(r.ContaDebito, l.Texto(2));
  CopiaTexto(r.ContaCredito, l.Texto(3));
  r.Valor = Moeda(l, 4);
  CopiaTexto(r.Historico, l.Texto(5));
  CopiaTexto(r.Gerencial, l.Texto(6));
  CopiaTexto(r.Origem, l.Texto(7));
  r.Chave = static_cast<std::int32_t>(l.Inteiro(8));
  r.Movimento = static_cast<std::uint32_t>(l.Inteiro(9));
  r.Emissora = static_cast<std::uint16_t>(l.Inteiro(10));
  return r;
}

#define QMX_COLUNAS_REDUCAO_Z                                                                                    \
  "emissora, data, crz, cro, coo_inicial, coo_final, venda_bruta, grande_total, data_emissao, hora_emissao, "     \
  "substituicao, isento, nao_tributado, cancelamentos, descontos, acrescimos, iss"

template <class Linha>
REG_REDUCAO_ZPS ReducaoZ(const Linha& l) {
  auto r = Zerado<REG_REDUCAO_ZPS>();
  r.Emissora = static_cast<std::uint16_t>(l.Inteiro(0));
  r.Data = static_cast<NumeroDia>(l.Inteiro(1));
  r.CRZ = static_cast<std::uint32_t>(l.Inteiro(2));
  r.CRO = static_cast<std::uint32_t>(l.Inteiro(3));
  r.COOInicial = static_cast<std::uint32_t>(l.Inteiro(4));
  r.COOFinal = static_cast<std::uint32_t>(l.Inteiro(5));
  r.VendaBruta = Moeda(l, 6);
  r.GrandeTotal = Moeda(l, 7);
  r.DataEmissao = static_cast<NumeroDia>(l.Inteiro(8));
  r.HoraEmissao = static_cast<std::int32_t>(l.Inteiro(9));
  CY* totais[] = {&r.Substituicao, &r.Isento, &r.NaoTributado, &r.Cancelamentos, &r.Descontos, &r.Acrescimos, &r.ISS};
  for (int i = 0; i < 7; ++i) *totais[i] = Moeda(l, 10 + i);
  return r;
}

#define QMX_COLUNAS_DOCUMENTO_ECF "emissora, data, hora, coo, tipo, gnf, grg, cdc"

template <class Linha>
REG_DOCUMENTO_ECFPS DocumentoECF(const Linha& l) {
  auto r = Zerado<REG_DOCUMENTO_ECFPS>();
  r.Emissora = static_cast<std::uint16_t>(l.Inteiro(0));
  r.Data = static_cast<NumeroDia>(l.Inteiro(1));
  r.Hora = static_cast<std::int32_t>(l.Inteiro(2));
  r.COO = static_cast<std::uint32_t>(l.Inteiro(3));
  r.Tipo = static_cast<std::uint8_t>(l.Inteiro(4));
  r.GNF = static_cast<std::uint32_t>(l.Inteiro(5));
  r.GRG = static_cast<std::uint32_t>(l.Inteiro(6));
  r.CDC = static_cast<std::uint32_t>(l.Inteiro(7));
  return r;
}

#define QMX_COLUNAS_DAV \
  "d.id, d.filial, d.emissora, d.numero, d.data, d.valor, d.coo_dav, d.coo_cupom, d.cliente"

template <class Linha>
REG_DAVPS Dav(const Linha& l) {
  auto r = Zerado<REG_DAVPS>();
  r.Id = static_cast<std::uint32_t>(l.Inteiro(0));
  r.Filial = static_cast<std::uint16_t>(l.Inteiro(1));
  r.Emissora = static_cast<std::uint16_t>(l.Inteiro(2));
  r.Numero = static_cast<std::uint32_t>(l.Inteiro(3));
  r.Data = static_cast<NumeroDia>(l.Inteiro(4));
  r.Valor = Moeda(l, 5);
  r.COODAV = static_cast<std::uint32_t>(l.Inteiro(6));
  r.COOCupom = static_cast<std::uint32_t>(l.Inteiro(7));
  r.Cliente = static_cast<std::uint32_t>(l.Inteiro(8));
  return r;
}

#define QMX_COLUNAS_ITEM_DAV                                                                                    \
  "i.dav, i.item, i.produto, i.quantidade, i.valor_unitario, i.desconto, i.acrescimo, i.valor_total, "         \
  "i.tributacao, i.aliquota, i.cancelado"

template <class Linha>
REG_DAV_ITEMPS ItemDav(const Linha& l) {
  auto r = Zerado<REG_DAV_ITEMPS>();
  r.Dav = static_cast<std::uint32_t>(l.Inteiro(0));
  r.Item = static_cast<std::uint16_t>(l.Inteiro(1));
  r.Produto = static_cast<std::uint32_t>(l.Inteiro(2));
  r.Quantidade = Moeda(l, 3);
  r.ValorUnitario = Moeda(l, 4);
  r.Desconto = Moeda(l, 5);
  r.Acrescimo = Moeda(l, 6);
  r.ValorTotal = Moeda(l, 7);
  r.Tributacao = Letra(l, 8);
  r.Aliquota = static_cast<std::uint16_t>(l.Inteiro(9));
  r.Cancelado = static_cast<std::uint8_t>(l.Inteiro(10));
  return r;
}

}  // namespace qmx::dados::leitura
