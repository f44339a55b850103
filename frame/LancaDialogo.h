#pragma once

#include <utility>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/ui/ModuloRecursos.h"

namespace qmx {

// The way every dialog export starts its dialog: the library's resources
// are made current (and the previous ones restored on every way out), the
// dialog is built with no parent, given a copy of the connection triple and
// then the export's own arguments by `inicializa`, run modally and
// destroyed. `inicializa(dialogo, triplo)` returns false to skip the modal
// run (the result is then 0); `depois(dialogo, resultado)` runs before the
// dialog is destroyed and gives the export's result.
template <class TDialogo, class TInicializa, class TDepois>
auto LancaDialogo(TInicializa&& inicializa, TDepois&& depois) {
  ui::TrocaRecursos troca(ui::ModuloBiblioteca());
  TDialogo dialogo;
  int resultado = 0;
  if (inicializa(dialogo, CopiaTriplo())) resultado = dialogo.DoModal();
  return depois(dialogo, resultado);
}

// The common case: the modal run's result itself.
template <class TDialogo, class TInicializa>
int LancaDialogo(TInicializa&& inicializa) {
  return LancaDialogo<TDialogo>(std::forward<TInicializa>(inicializa),
                                [](TDialogo&, int resultado) { return resultado; });
}

}  // namespace qmx
