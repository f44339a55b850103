#include "plataforma/dados/ConexaoFormaPagamento.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

namespace {

#define QMX_COLUNAS "SELECT codigo, nome, a_prazo, conta_entrada_fn FROM forma_pagamento "

REG_FORMA_PAGAMENTOPS Forma(const LinhaDados& l) {
  auto r = leitura::Zerado<REG_FORMA_PAGAMENTOPS>();
  r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
  CopiaTexto(r.Nome, l.Texto(1));
  r.APrazo = static_cast<std::uint8_t>(l.Inteiro(2));
  CopiaTexto(r.ContaEntradaFN, l.Texto(3));
  return r;
}

}  // namespace

com::HRESULT CConexaoFormaPagamento::Le(std::uint16_t codigo, REG_FORMA_PAGAMENTOPS* registro) {
  return LeUm(QMX_COLUNAS "WHERE codigo = ?", {codigo}, registro, Forma);
}

com::HRESULT CConexaoFormaPagamento::Lista(std::vector<REG_FORMA_PAGAMENTOPS>* formas) {
  return LeVarios(QMX_COLUNAS "ORDER BY codigo", {}, formas, Forma);
}

#undef QMX_COLUNAS

}  // namespace qmx::dados
