#pragma once

#include <cstdint>
#include <string>

#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/ui/EditCadastro.h"

namespace qmx::ui {

// The branch edit of the filter dialogs: an edit control of a dialog where
// the operator types a branch number, bound to the branch server. After a
// lookup the label control beside it shows the branch's trade name.
class CFilialEdit : public CEditCadastro {
 public:
  // Whether branch 0 stands for all branches (on by default).
  void SetFilialZeroComoTodas(bool todas) { m_zeroComoTodas = todas; }
  bool GetFilialZeroComoTodas() const { return m_zeroComoTodas; }
  // Opens the link to the branch server; the result of its Inicializa.
  com::HRESULT CriaLink();

  // Shows a branch and looks it up.
  void SetFilial(std::uint16_t filial);
  // Looks up what the edit holds now and updates the label; true when it
  // names an existing branch (or 0 taken as all branches).
  bool Atualiza();
  // The branch chosen: the number when it names an existing branch (or 0
  // taken as all), else 0. Without a link the typed number is taken as is.
  std::uint16_t GetFilial();
  // The record of the branch last found.
  const REG_FILIALPS& GetRegistro() const { return m_registro; }

 private:
  bool m_zeroComoTodas = true;
  dados::CConexaoFilial m_conexao;
  REG_FILIALPS m_registro{};
};

}  // namespace qmx::ui
