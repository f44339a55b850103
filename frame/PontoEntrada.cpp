// What the library does when it is loaded into a process: it registers its
// resources (the dialog templates) in the chain that the window framework
// searches, like an extension module of the application framework.
#include "plataforma/ui/ModuloRecursos.h"

namespace {

struct RegistroModulo {
  RegistroModulo() { qmx::ui::ModuloBiblioteca(); }
};

const RegistroModulo g_registroModulo;

}  // namespace
