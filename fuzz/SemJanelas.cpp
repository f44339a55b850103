// The fuzz targets run without an operator: a box the code under test
// shows is answered with OK at once, and a missing catalogue is not shown.
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"

namespace qmx::ui {
int CaixaMensagem(const std::string&, const std::string&, unsigned) { return IDOK; }
}  // namespace qmx::ui

namespace qmx::mensagens {
void AvisaCatalogoInacessivel(const std::string&) {}
}  // namespace qmx::mensagens
