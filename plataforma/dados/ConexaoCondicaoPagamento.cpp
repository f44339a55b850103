#include "plataforma/dados/ConexaoCondicaoPagamento.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

namespace {

#define QMX_COLUNAS "SELECT codigo, descricao, a_vista FROM condicao_pagamento "

REG_CONDICAO_PAGAMENTOPS Condicao(const LinhaDados& l) {
  auto r = leitura::Zerado<REG_CONDICAO_PAGAMENTOPS>();
  r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
  CopiaTexto(r.Descricao, l.Texto(1));
  r.AVista = static_cast<std::uint8_t>(l.Inteiro(2));
  return r;
}

}  // namespace

com::HRESULT CConexaoCondicaoPagamento::Le(std::uint16_t codigo, REG_CONDICAO_PAGAMENTOPS* registro) {
  return LeUm(QMX_COLUNAS "WHERE codigo = ?", {codigo}, registro, Condicao);
}

com::HRESULT CConexaoCondicaoPagamento::Lista(std::vector<REG_CONDICAO_PAGAMENTOPS>* condicoes) {
  return LeVarios(QMX_COLUNAS "ORDER BY codigo", {}, condicoes, Condicao);
}

#undef QMX_COLUNAS

}  // namespace qmx::dados
