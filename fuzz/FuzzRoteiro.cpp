// The operator script of the scripted host: any text loads or is refused
// with the documented error naming the line, and the boxes take its
// answers or the default ones.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "plataforma/ui/HostRoteirizado.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  qmx::ui::HostRoteirizado host;
  try {
    host.CarregaRoteiro(std::string(reinterpret_cast<const char*>(dados), tamanho));
  } catch (const std::invalid_argument&) {
  }
  for (unsigned flags : {0u, 1u, 3u, 4u, 0x124u}) (void)host.MostraCaixa("Confirma?", "Teste", flags);
  return 0;
}
