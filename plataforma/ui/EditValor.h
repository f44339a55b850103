#pragma once

#include <cstdint>
#include <string>

#include "plataforma/ui/Dialogo.h"

namespace qmx::ui {

// A number edit: an edit control of a dialog that takes whole, non-negative
// numbers of a fixed count of digits (a COO, a Z-reduction counter). What
// the operator types is filtered as the window would: anything but a digit
// is dropped and the text is cut to the count of digits. Ranges beyond the
// count of digits are the dialog's business.
class CZTEditValor {
 public:
  void SubclassDlgItem(int idControle, CDialogo* dialogo, int digitos);
  int Id() const { return m_id; }
  int Digitos() const { return m_digitos; }

  void SetValor(std::uint32_t valor);
  // The number the text holds; 0 for an empty text.
  std::uint32_t GetValor() const;
  // The text as the operator sees it.
  std::string GetTexto() const;

  // Filters the text after a change (the dialog calls it on EN_CHANGE).
  void AoMudar();

  // Digits only, at most `digitos` of them.
  static std::string Filtra(const std::string& texto, int digitos);

 private:
  CDialogo* m_dialogo = nullptr;
  int m_id = 0;
  int m_digitos = 0;
};

}  // namespace qmx::ui
