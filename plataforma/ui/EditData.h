#pragma once

#include <cstdint>
#include <string>

#include "plataforma/calendario/NumeroDia.h"
#include "plataforma/ui/Dialogo.h"

namespace qmx::ui {

// A date edit: an edit control of a dialog that shows a day number as date
// text. Type 0 shows "DD/MM/AAAA", type 1 "DD/MM/AA"; both types read
// either form back, a two-digit year in the hundred years of today
// (JanelaDatas.h). A text that is not a date, or a date outside the
// 65 535 days that the 16-bit day numbers reach today (1857 to 2036 in
// December 2026), reads as 0 (no date).
class CZTEditData {
 public:
  void SubclassDlgItem(int idControle, CDialogo* dialogo, int tipo = 0);
  int Id() const { return m_id; }

  void SetData(NumeroDia numeroDia);
  NumeroDia GetData() const;
  bool DataValida() const { return GetData() != 0; }

  // The reading at an explicit today (GetData reads at the library's).
  static NumeroDia LeData(const std::string& texto, NumeroDia hoje);
  static std::string TextoData(NumeroDia numeroDia, int tipo);

 private:
  CDialogo* m_dialogo = nullptr;
  int m_id = 0;
  int m_tipo = 0;
};

}  // namespace qmx::ui
