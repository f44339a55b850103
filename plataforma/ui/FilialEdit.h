#pragma once

#include <cstdint>
#include <string>

#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/ui/Dialogo.h"

namespace qmx::ui {

// The branch edit of the filter dialogs: an edit control of a dialog where
// the operator types a branch number, bound to the branch server. After a
// lookup the label control beside it shows the branch's trade name.
class CFilialEdit {
 public:
  void Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  // Ties the object to the edit control of a dialog.
  void SubclassDlgItem(int idControle, CDialogo* dialogo);
  void SetLabel(int idRotulo) { m_rotulo = idRotulo; }
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
  bool Numero(std::uint16_t& numero) const;
  void Rotulo(const std::string& texto);

  std::string m_chaveEmpresa;
  std::uint16_t m_usuario = 0;
  std::int32_t m_contexto = 0;
  CDialogo* m_dialogo = nullptr;
  int m_id = 0;
  int m_rotulo = 0;
  bool m_zeroComoTodas = true;
  dados::CConexaoFilial m_conexao;
  REG_FILIALPS m_registro{};
};

// Reads a whole number 0..65535 from an edit's text (blanks around it
// allowed); false for anything else.
bool LeNumeroEdit(const std::string& texto, std::uint16_t& numero);

}  // namespace qmx::ui
