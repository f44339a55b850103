// Dialog templates in resource-script syntax: a text is read whole or
// refused with the documented error, never anything else.
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "plataforma/ui/ModeloDialogo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  try {
    const auto modelos = qmx::ui::ModeloDialogo::Analisa(std::string_view(reinterpret_cast<const char*>(dados), tamanho));
    for (const auto& modelo : modelos) (void)modelo.Controle(1);
  } catch (const std::runtime_error&) {
  }
  return 0;
}
