#pragma once

#include <cstdint>
#include <string>

#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/ui/EditCadastro.h"

namespace qmx::ui {

// The ECF edit of the filter dialogs: an edit control where the operator
// types an ECF number, bound to the ECF server and to a branch. After a
// lookup the label control beside it shows the ECF's name.
class CEmissoraEdit : public CEditCadastro {
 public:
  com::HRESULT CriaLink();

  // Binds the edit to a branch: only that branch's ECFs are accepted
  // (branch 0: any ECF). The ECF shown is looked up again.
  void SetFilial(std::uint16_t filial);
  std::uint16_t GetFilialVinculada() const { return m_filial; }

  void SetEmissora(std::uint16_t emissora);
  // Looks up what the edit holds now and updates the label; true when it
  // names an ECF of the bound branch.
  bool Atualiza();
  // The ECF chosen, or 0 when the edit names none of the bound branch.
  // Without a link the typed number is taken as is.
  std::uint16_t GetEmissora();
  const REG_EMISSORPS& GetRegistro() const { return m_registro; }

 private:
  std::uint16_t m_filial = 0;
  dados::CConexaoEmissora m_conexao;
  REG_EMISSORPS m_registro{};
};

}  // namespace qmx::ui
