// The ZT_DATETIME setting of the library clock: any text shifts the clock,
// is ignored, or is refused with the clock's own exception.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frame/RelogioBiblioteca.h"
#include "frame/ZTException.h"
#include "fuzz/EntradaEmMemoria.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  static const EntradaEmMemoria entrada = [] {
    EntradaEmMemoria e;
    setenv("QMX_REGISTRO", e.Caminho().c_str(), 1);
    return e;
  }();
  std::string valor(reinterpret_cast<const char*>(dados), tamanho);
  for (char& c : valor)
    if (c == '\n' || c == '\r') c = ' ';
  const std::string registro =
      "[SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment]\nZT_DATETIME=" + valor + "\n";
  entrada.Grava(reinterpret_cast<const std::uint8_t*>(registro.data()), registro.size());
  try {
    (void)qmx::CQMXRelogio::PegaHoraLocal();
    (void)qmx::CQMXRelogio::PegaHoraTexto();
  } catch (const CZTException&) {
  }
  return 0;
}
