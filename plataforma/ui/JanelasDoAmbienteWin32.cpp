#include "plataforma/ui/JanelasDoAmbiente.h"

namespace qmx::ui {

// Windows has its own dialog boxes (HostJanelas): nothing else to load.
bool AtivaJanelasDoAmbiente() { return false; }

// The desktop is always there.
bool TelaResponde() { return true; }

}  // namespace qmx::ui
