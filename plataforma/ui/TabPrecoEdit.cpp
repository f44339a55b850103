#include "plataforma/ui/TabPrecoEdit.h"

#include <cstring>

namespace qmx::ui {

com::HRESULT CTabPrecoEdit::CriaLink() { return m_conexao.Inicializa(m_chaveEmpresa, m_usuario, m_contexto); }

void CTabPrecoEdit::SetTipo(std::uint8_t tipo) {
  m_tipo = tipo;
  if (!Vazio()) Atualiza();
}

void CTabPrecoEdit::SetTabela(std::uint16_t tabela) {
  if (!m_dialogo) return;
  MostraNumero(tabela);
  Atualiza();
}

bool CTabPrecoEdit::Atualiza() {
  std::memset(&m_registro, 0, sizeof m_registro);
  std::uint16_t tabela = 0;
  if (!Numero(tabela) || tabela == 0) {
    Rotulo("");
    return false;
  }
  auto* produtos = m_conexao.GetInterface();
  if (!produtos) return false;
  if (com::FAILED(produtos->LeTabelaPreco(m_tipo, tabela, &m_registro))) {
    std::memset(&m_registro, 0, sizeof m_registro);
    Rotulo("Tabela não cadastrada");
    return false;
  }
  Rotulo(m_registro.Descricao);
  return true;
}

std::uint16_t CTabPrecoEdit::GetTabela() {
  std::uint16_t tabela = 0;
  if (!m_conexao.Inicializada()) return Numero(tabela) ? tabela : 0;
  return Atualiza() ? m_registro.Codigo : 0;
}

}  // namespace qmx::ui
