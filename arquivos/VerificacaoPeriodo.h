#pragma once

#include <cstdint>

#include "plataforma/ui/EditData.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// The checks of a filter's period, run when one of its date edits loses
// the focus. A failed check shows its message through the printer layer's
// notice, resets the edit and gives it the focus again.
class CVerificacaoPeriodo {
 public:
  enum class Regras {
    // Initial date against the system start date and today (reset to the
    // start date), final date against today and the initial date.
    ComInicioSistema,
    // The same checks in the Venda do Período dialog's wording ("inferior à
    // data de inicio").
    VendaPeriodo,
    // Initial date against today only (reset to today).
    SemInicioSistema,
    // The wording of the MFD file dialog; every reset goes to today.
    ArquivoMFD,
    // No check while editing: the dialog checks the period at OK.
    Nenhuma,
  };

  void Configura(ui::CDialogo* dialogo, ui::CZTEditData* inicial, ui::CZTEditData* final, Regras regras);
  void SetInicioSistema(NumeroDia inicio) { m_inicioSistema = inicio; }

  // Runs the checks of the edit that lost the focus; false when one failed
  // (the edit was reset). Other controls are ignored (true).
  bool AoPerderFoco(int idControle, NumeroDia hoje);

 private:
  bool Falha(ui::CZTEditData& edit, const char* mensagem, NumeroDia reinicio);

  ui::CDialogo* m_dialogo = nullptr;
  ui::CZTEditData* m_inicial = nullptr;
  ui::CZTEditData* m_final = nullptr;
  Regras m_regras = Regras::SemInicioSistema;
  NumeroDia m_inicioSistema = 0;
};

}  // namespace qmx
