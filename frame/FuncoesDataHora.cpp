// The exported display texts of dates and times.
#include <cstdio>

#include "frame/ProtecaoExportacao.h"
#include "frame/RelogioBiblioteca.h"
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

// For C programs, which have no MontaData: a 16-bit day number from a
// calendar date and back, read in the window of today as every export reads
// the days it is given. A date the calendar lacks, or one the window does
// not reach, has no number (0).
uint16_t QMX_NumeroDia(uint16_t dia, uint16_t mes, uint16_t ano) {
  return qmx::Protegido("QMX_NumeroDia", uint16_t{0}, [&]() -> uint16_t {
    if (ano < 1 || ano > 9999 || mes < 1 || mes > 12 || dia < 1 || dia > qmx::DiasDoMes(mes, ano)) return 0;
    const qmx::NumeroDia numero = qmx::CodificaDia(dia, mes, ano);
    const qmx::NumeroDia hoje = qmx::CQMXRelogio::PegaDiaHoje();
    if (numero < qmx::InicioDaJanela(hoje) || numero > qmx::FimDaJanela(hoje)) return 0;
    return qmx::DiaDezesseisBits(numero);
  });
}

QMX_BOOL QMX_DataDoNumero(uint16_t numeroDia, uint16_t* dia, uint16_t* mes, uint16_t* ano) {
  return qmx::Protegido("QMX_DataDoNumero", QMX_BOOL{0}, [&]() -> QMX_BOOL {
    if (numeroDia == 0 || !dia || !mes || !ano) return 0;
    const qmx::DiaMesAno data = qmx::DecodificaDia(qmx::LeDiaDezesseisBits(numeroDia));
    *dia = static_cast<uint16_t>(data.dia);
    *mes = static_cast<uint16_t>(data.mes);
    *ano = static_cast<uint16_t>(data.ano);
    return 1;
  });
}

// The texts the library hands back (QMX_SpedFiscal's path) are allocated
// by the library's own run time: they are freed by it.
void QMX_LiberaTexto(char* texto) { delete[] texto; }
