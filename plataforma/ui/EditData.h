#pragma once

#include <cstdint>
#include <string>

#include "plataforma/ui/Dialogo.h"

namespace qmx::ui {

// A date edit: an edit control of a dialog that shows a day number as date
// text. Type 0 shows "DD/MM/AAAA", type 1 "DD/MM/AA"; both types read
// either form back. A text that is not a date reads as 0 (no date).
class CZTEditData {
 public:
  void SubclassDlgItem(int idControle, CDialogo* dialogo, int tipo = 0);
  int Id() const { return m_id; }

  void SetData(std::uint16_t numeroDia);
  std::uint16_t GetData() const;
  // Whether the text is a date of the calendar the day numbers cover
  // (1927 to 2026).
  bool DataValida() const { return GetData() != 0; }

  static std::uint16_t LeData(const std::string& texto);
  static std::string TextoData(std::uint16_t numeroDia, int tipo);

 private:
  CDialogo* m_dialogo = nullptr;
  int m_id = 0;
  int m_tipo = 0;
};

}  // namespace qmx::ui
