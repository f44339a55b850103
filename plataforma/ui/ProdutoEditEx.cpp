#include "plataforma/ui/ProdutoEditEx.h"

#include <cstring>

namespace qmx::ui {

com::HRESULT CProdutoEditEx::CriaLink() { return m_conexao.Inicializa(m_chaveEmpresa, m_usuario, m_contexto); }

void CProdutoEditEx::SetProduto(std::uint32_t codigo) {
  if (!m_dialogo) return;
  MostraCodigo(codigo);
  Atualiza();
}

bool CProdutoEditEx::Atualiza() {
  std::memset(&m_registro, 0, sizeof m_registro);
  std::uint32_t codigo = 0;
  if (!Codigo(codigo) || codigo == 0) {
    Rotulo("");
    return false;
  }
  auto* produtos = m_conexao.GetInterface();
  if (!produtos) return false;
  if (com::FAILED(produtos->LeLight(codigo, &m_registro))) {
    std::memset(&m_registro, 0, sizeof m_registro);
    Rotulo("Produto não cadastrado");
    return false;
  }
  Rotulo(m_registro.Descricao);
  return true;
}

std::uint32_t CProdutoEditEx::GetProduto() {
  std::uint32_t codigo = 0;
  if (!m_conexao.Inicializada()) return Codigo(codigo) ? codigo : 0;
  return Atualiza() ? m_registro.Codigo : 0;
}

}  // namespace qmx::ui
