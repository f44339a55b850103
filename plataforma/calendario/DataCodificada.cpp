#include "plataforma/calendario/DataCodificada.h"

namespace qmx {
namespace {

constexpr std::uint16_t kInicioMes[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr std::uint16_t kDiasMes[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::uint16_t U16(unsigned valor) { return static_cast<std::uint16_t>(valor); }

// Year index to four-digit year: back to a two-digit year, then the pivot,
// all in 16 bits.
std::uint16_t AnoDoIndice(std::uint16_t indiceAno) {
  const std::uint16_t doisDigitos = indiceAno <= 151 ? U16(indiceAno - 52u) : U16(indiceAno - 152u);
  return doisDigitos < 27 ? U16(doisDigitos + 2000u) : U16(doisDigitos + 1900u);
}

}  // namespace

DiaMesAno DecodificaDia(std::uint16_t numeroDia) {
  if (numeroDia == 0) return {};
  // The day number divided by 365.25, cut toward zero, done in integers.
  std::uint16_t indiceAno = U16(numeroDia * 4u / 1461u);
  std::uint16_t diaDoAno = U16(numeroDia - 365u * indiceAno - (indiceAno + 3u) / 4u);
  DiaMesAno data;
  if (diaDoAno == 0) {
    data.dia = 31;
    data.mes = 12;
    data.ano = AnoDoIndice(U16(indiceAno - 1u));
    return data;
  }
  const bool bissexto = indiceAno % 4 == 0;
  data.ano = AnoDoIndice(indiceAno);
  if (diaDoAno <= 31) {
    data.mes = 1;
    data.dia = diaDoAno;
    return data;
  }
  if (diaDoAno <= 59) {
    data.mes = 2;
    data.dia = U16(diaDoAno - 31u);
    return data;
  }
  if (bissexto) {
    diaDoAno = U16(diaDoAno - 1u);
    if (diaDoAno == 59) {
      data.mes = 2;
      data.dia = 29;
      return data;
    }
  }
  int mes = 11;
  while (kInicioMes[mes] >= diaDoAno) --mes;
  data.mes = U16(mes + 1u);
  data.dia = U16(diaDoAno - kInicioMes[mes]);
  return data;
}

std::uint16_t CodificaDia(std::uint16_t dia, std::uint16_t mes, std::uint16_t ano) {
  if (dia == 0 && mes == 0 && ano == 0) return 0;
  // A month outside the calendar has no day number (the tables stop at 12).
  if (mes < 1 || mes > 12) return 0;
  const unsigned anoDoisDigitos = ano % 100u;
  if (dia > kDiasMes[mes - 1]) dia = kDiasMes[mes - 1];
  if (mes == 2 && dia == 29 && anoDoisDigitos % 4 != 0) dia = 28;
  const unsigned base = anoDoisDigitos < 27 ? 55518u : 18993u;
  unsigned numero = base + anoDoisDigitos * 365u + (anoDoisDigitos + 3u) / 4u + kInicioMes[mes - 1] + dia;
  if (mes > 2 && anoDoisDigitos % 4 == 0) ++numero;
  return U16(numero);
}

DiaMesAno DecodificaMes(std::uint16_t codigoMes) {
  if (codigoMes == 0) return {};
  std::uint16_t indiceAno = U16(codigoMes / 12u);
  std::uint16_t mes = U16(codigoMes % 12u);
  if (mes == 0) {
    mes = 12;
    indiceAno = U16(indiceAno - 1u);
  }
  DiaMesAno data;
  data.mes = mes;
  data.ano = AnoDoIndice(indiceAno);
  return data;
}

std::uint16_t CodificaMes(std::uint16_t mes, std::uint16_t ano) {
  if (mes == 0 && ano == 0) return 0;
  const unsigned anoDoisDigitos = ano % 100u;
  const unsigned indiceAno = 52u + anoDoisDigitos + (anoDoisDigitos < 27 ? 100u : 0u);
  return U16(indiceAno * 12u + mes);
}

}  // namespace qmx
