#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/ui/EditCadastro.h"

namespace qmx::ui {

// The price-table edit: an edit control where the operator types the code
// of a price table of one kind (products or services), bound to the
// products server. After a lookup the label control beside it shows the
// table's description.
class CTabPrecoEdit : public CEditCadastro {
 public:
  // The kind of table the edit accepts: QMX_TABELA_PRODUTOS or
  // QMX_TABELA_SERVICOS. The table shown is looked up again.
  void SetTipo(std::uint8_t tipo);
  std::uint8_t GetTipo() const { return m_tipo; }
  com::HRESULT CriaLink();

  void SetTabela(std::uint16_t tabela);
  // Looks up what the edit holds now and updates the label; true when it
  // names an existing table of the kind.
  bool Atualiza();
  // The table chosen, or 0 when the edit names none of the kind. Without a
  // link the typed code is taken as is.
  std::uint16_t GetTabela();
  const REG_TABELA_PRECOPS& GetRegistro() const { return m_registro; }

 private:
  std::uint8_t m_tipo = QMX_TABELA_PRODUTOS;
  dados::CConexaoProduto m_conexao;
  REG_TABELA_PRECOPS m_registro{};
};

}  // namespace qmx::ui
