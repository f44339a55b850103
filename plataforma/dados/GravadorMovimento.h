#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/dados/RegistroDAV.h"
#include "plataforma/dados/RegistroEstoque.h"
#include "plataforma/dados/RegistroNotaFiscal.h"
#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados {

// Writes a company's movement: notas fiscais, the ECF cash data (cupons
// with items, payments and installments; Z reductions with their
// totalizers; the document log), DAVs, stock positions and inventory
// balances. What the point of sale and the stock module record, and what
// the demonstration and the tests use. Records with key 0 get the next key
// of their table, which the call answers. Statements are prepared once per
// session, so a month of cupons loads at the engine's pace inside the
// caller's transactions. Failures throw CErroDados.
class CGravadorMovimento {
 public:
  explicit CGravadorMovimento(CSessaoDados& sessao) : m_sessao(sessao) {}

  std::uint32_t GravaNota(const REG_NOTA_FISCALPS& nota, const std::vector<REG_ITENS_NF_PS>& itens,
                          const std::vector<REG_NF_PAGAMENTOPS>& pagamentos = {});
  // Items, payments and installments take the cupom's key.
  std::uint32_t GravaCupom(const REG_EC_CXPS& cupom, const std::vector<REG_EC_CX_CIPS>& itens,
                           const std::vector<REG_EC_CX_PAGAMENTOPS>& pagamentos,
                           const std::vector<REG_EC_CX_PARCELAPS>& parcelas = {});
  // Many cupons at once, one statement per table for each piece of rows (a
  // till's day loads in a few statements); a cupom without a key gets the
  // next one, written into it.
  void GravaCupons(std::vector<CupomCompleto>& cupons);
  void GravaReducaoZ(const REG_REDUCAO_ZPS& reducao, const std::vector<REG_REDUCAO_Z_ALIQUOTAPS>& aliquotas,
                     const std::vector<REG_TOTALIZADOR_NAO_FISCALPS>& naoFiscais);
  void GravaDocumentoECF(const REG_DOCUMENTO_ECFPS& documento);
  std::uint32_t GravaDAV(const REG_DAVPS& dav, const std::vector<REG_DAV_ITEMPS>& itens);
  void GravaPosicao(const REG_ES_POSICAOPS& posicao);
  void GravaSaldoInventario(const REG_ES_SALDOS_INVENTARIOPS& saldo);

 private:
  std::uint32_t ProximaChave(const char* tabela, std::uint32_t& proxima);

  CSessaoDados& m_sessao;
  std::uint32_t m_proximaNota = 0;
  std::uint32_t m_proximoCupom = 0;
  std::uint32_t m_proximoDAV = 0;
};

}  // namespace qmx::dados
