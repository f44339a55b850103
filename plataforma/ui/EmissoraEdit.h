#pragma once

#include <cstdint>
#include <string>

#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/ui/Dialogo.h"

namespace qmx::ui {

// The ECF edit of the filter dialogs: an edit control where the operator
// types an ECF number, bound to the ECF server and to a branch. After a
// lookup the label control beside it shows the ECF's name.
class CEmissoraEdit {
 public:
  void Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  void SubclassDlgItem(int idControle, CDialogo* dialogo);
  void SetLabel(int idRotulo) { m_rotulo = idRotulo; }
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
  void Rotulo(const std::string& texto);

  std::string m_chaveEmpresa;
  std::uint16_t m_usuario = 0;
  std::int32_t m_contexto = 0;
  CDialogo* m_dialogo = nullptr;
  int m_id = 0;
  int m_rotulo = 0;
  std::uint16_t m_filial = 0;
  dados::CConexaoEmissora m_conexao;
  REG_EMISSORPS m_registro{};
};

}  // namespace qmx::ui
