#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/ui/EditCadastro.h"

namespace qmx::ui {

// The product edit: an edit control where the operator types a product
// code, bound to the products server. After a lookup the label control
// beside it shows the product's description.
class CProdutoEditEx : public CEditCadastro {
 public:
  // Opens the link to the products server; the result of its Inicializa.
  com::HRESULT CriaLink();

  // Shows a product and looks it up.
  void SetProduto(std::uint32_t codigo);
  // Looks up what the edit holds now and updates the label; true when it
  // names an existing product.
  bool Atualiza();
  // The product chosen: its code when the edit names an existing product,
  // else 0. Without a link the typed code is taken as is.
  std::uint32_t GetProduto();
  // The record of the product last found (zero when none was).
  const REG_PRODUTOPS& GetRegistro() const { return m_registro; }

 private:
  dados::CConexaoProduto m_conexao;
  REG_PRODUTOPS m_registro{};
};

}  // namespace qmx::ui
