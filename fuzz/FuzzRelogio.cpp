// The ZT_DATETIME setting of the library clock: any text shifts the clock,
// is ignored, or is refused with the clock's own exception. Whatever day it
// gives, today goes through the program's 16 bits and comes back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frame/RelogioBiblioteca.h"
#include "frame/ZTException.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
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
    const qmx::NumeroDia hoje = qmx::CQMXRelogio::PegaDiaHoje();
    if (hoje != 0 && qmx::DiaNaJanela(qmx::DiaDezesseisBits(hoje), hoje) != hoje) std::abort();
    // Today's year is among the hundred years of its two digits (from 1927
    // on: before it the hundred years are those of 2016).
    const unsigned ano = qmx::DecodificaDia(hoje).ano;
    if (ano >= 1927 && qmx::LeAnoDoisDigitos(ano % 100) != ano) std::abort();
  } catch (const CZTException&) {
  }
  return 0;
}
