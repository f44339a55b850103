#pragma once

#include <cstdint>
#include <string>

#include "plataforma/ui/Dialogo.h"

namespace qmx::ui {

// What the data-bound edits share: an edit control of a dialog where the
// operator types a record's number, the connection triple its lookups use,
// and the label control beside it that shows what the number names.
class CEditCadastro {
 public:
  void Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  // Ties the object to the edit control of a dialog; an id the template
  // lacks fails here, at once.
  void SubclassDlgItem(int idControle, CDialogo* dialogo);
  void SetLabel(int idRotulo) { m_rotulo = idRotulo; }

 protected:
  // The number the edit holds, when it holds one (0..65535).
  bool Numero(std::uint16_t& numero) const;
  void MostraNumero(std::uint16_t numero);
  // The same for the records keyed by a 32-bit code (products).
  bool Codigo(std::uint32_t& codigo) const;
  void MostraCodigo(std::uint32_t codigo);
  bool Vazio() const { return !m_dialogo || m_dialogo->GetDlgItemText(m_id).empty(); }
  void Rotulo(const std::string& texto);

  std::string m_chaveEmpresa;
  std::uint16_t m_usuario = 0;
  std::int32_t m_contexto = 0;
  CDialogo* m_dialogo = nullptr;
  int m_id = 0;
  int m_rotulo = 0;
};

// Reads a whole number 0..65535 from an edit's text (blanks around it
// allowed); false for anything else.
bool LeNumeroEdit(const std::string& texto, std::uint16_t& numero);
// The same for 0..4294967295.
bool LeCodigoEdit(const std::string& texto, std::uint32_t& codigo);

}  // namespace qmx::ui
