// The exported display texts of dates and times.
#include <cstdio>

#include "frame/ProtecaoExportacao.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "frame/QMXUTIL.h"

namespace {

std::string Formata(const char* formato, int a, int b, int c = 0) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, formato, a, b, c);
  return buffer;
}

}  // namespace

// Exported: a fault (no memory for the text) gives an empty text. The
// program's 16-bit day number is read in the window of today.
std::string MontaData(std::uint16_t numeroDia, bool anoQuatroDigitos) {
  return qmx::Protegido("MontaData", std::string(), [&] {
    return qmx::TextoData(qmx::LeDiaDezesseisBits(numeroDia), anoQuatroDigitos);
  });
}

std::string MontaHora(std::uint16_t minutos) {
  return qmx::Protegido("MontaHora", std::string(),
                        [&] { return Formata("%.2i:%.2i", minutos / 60, minutos % 60); });
}

std::string MontaHora(std::int32_t hhmmss, bool comSegundos) {
  return qmx::Protegido("MontaHora", std::string(), [&] {
    const int horas = hhmmss / 10000;
    const int minutos = (hhmmss / 100) % 100;
    const int segundos = hhmmss % 100;
    if (comSegundos) return Formata("%.2i:%.2i:%.2i", horas, minutos, segundos);
    return Formata("%.2i:%.2i", horas, minutos);
  });
}
