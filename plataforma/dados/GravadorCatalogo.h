#pragma once

#include <cstdint>

#include "plataforma/dados/RegistroCatalogo.h"
#include "plataforma/dados/RegistroDocumentos.h"
#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados {

// Writes a company's catalogue and the records that documents refer to:
// products with their branch tax data, services, units, PIS/COFINS rates,
// price tables, customers and suppliers, document types and models,
// natures, payment conditions and means, accounts, grids and storage
// places. What the company's own programs do, and what the demonstration
// and the tests use. A record with the key of an existing one replaces it;
// failures throw CErroDados; transactions are the session's.
class CGravadorCatalogo {
 public:
  explicit CGravadorCatalogo(CSessaoDados& sessao) : m_sessao(sessao) {}

  // The product, and its tax data in the branch produto.Filial when that is
  // not 0.
  void GravaProduto(const REG_PRODUTOPS& produto);
  // The tax data of a product in one more branch.
  void GravaProdutoFilial(std::uint32_t produto, std::uint16_t filial, const char* situacaoTributaria,
                          char tributacao, std::uint16_t aliquotaICMS);
  // A product or participant that a document of an open period names is
  // not deleted (CErroDados with QMX_E_REGISTRO_EM_USO and the document):
  // the files of that period must still name it. A branch's period is open
  // after its blocked accounting month (all of it when none is blocked).
  // What was deleted before this rule is covered by what the documents
  // keep of it.
  void ExcluiProduto(std::uint32_t codigo);
  void GravaPisCofins(const REG_ITENS_PIS_COFINS_PRODUTOPS& aliquota);
  void GravaServico(const REG_SERVICOSPS& servico);
  void GravaUnidade(const REG_UNIDADES_MEDIDAPS& unidade);
  void GravaUnidadeServico(const REG_UNIDADES_MEDIDA_SERVICOSPS& unidade);
  void GravaTabelaPreco(const REG_TABELA_PRECOPS& tabela);
  void GravaItemTabelaPreco(const REG_ITEM_TABELA_PRECOPS& item);
  void GravaLocal(const REG_LOCAL_ESTOQUEPS& local);

  void GravaCfrt(const ZTCFRT& participante);
  void ExcluiCfrt(std::uint32_t codigo);
  void GravaDocumentoFiscal(const REG_DOC_FISCAIS& modelo);
  void GravaTipoDocumento(const REG_TIPO_DOCUMENTOPS& tipo);
  void GravaNatureza(const REG_NATUREZAPS& natureza);
  void GravaCondicaoPagamento(const REG_CONDICAO_PAGAMENTOPS& condicao);
  void GravaFormaPagamento(const REG_FORMA_PAGAMENTOPS& forma);
  void GravaConta(const REG_PLANO_CONTAPS& conta);
  void GravaGrade(const REG_GRADE_CONTABILPS& grade);

 private:
  CSessaoDados& m_sessao;
};

}  // namespace qmx::dados
