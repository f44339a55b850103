#include "plataforma/calendario/DataCodificada.h"

#include <cstdio>

namespace qmx {
namespace {

constexpr unsigned kPrimeiroAno = 1848;
constexpr unsigned kUltimoAno = 9999;
constexpr unsigned kInicioMes[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr unsigned kDiasMes[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool Bissexto(unsigned ano) { return ano % 4 == 0 && (ano <= 2000 || ano % 100 != 0 || ano % 400 == 0); }

// Days from 31 December 1847 to the last day of the year before `ano`.
NumeroDia DiasAntesDoAno(unsigned ano) {
  const unsigned anos = ano - kPrimeiroAno;
  // Every fourth year from 1848 on was a leap year...
  unsigned dias = 365u * anos + (anos + 3u) / 4u;
  // ...except the centuries after 2000 that 400 does not divide.
  if (ano > 2001) {
    const unsigned ultimo = ano - 1u;
    dias -= (ultimo / 100u - 20u) - (ultimo / 400u - 5u);
  }
  return static_cast<NumeroDia>(dias);
}

NumeroDia DiaFinal() { return DiasAntesDoAno(kUltimoAno + 1); }

std::string Formata(const char* formato, unsigned a, unsigned b, unsigned c) {
  char texto[32];
  std::snprintf(texto, sizeof texto, formato, a, b, c);
  return texto;
}

}  // namespace

unsigned DiasDoMes(unsigned mes, unsigned ano) {
  if (mes < 1 || mes > 12) return 0;
  return kDiasMes[mes - 1] + (mes == 2 && Bissexto(ano) ? 1u : 0u);
}

DiaMesAno DecodificaDia(NumeroDia numeroDia) {
  if (numeroDia <= 0 || numeroDia > DiaFinal()) return {};
  // The estimate by years of 365.25 days lands on the year or next to it
  // (later years are a day shorter per skipped century).
  unsigned ano = kPrimeiroAno + static_cast<unsigned>(numeroDia - 1) * 4u / 1461u;
  while (DiasAntesDoAno(ano) >= numeroDia) --ano;
  while (ano < kUltimoAno && DiasAntesDoAno(ano + 1) < numeroDia) ++ano;
  const unsigned diaDoAno = static_cast<unsigned>(numeroDia - DiasAntesDoAno(ano));
  const unsigned fevereiro = Bissexto(ano) ? 1u : 0u;
  unsigned mes = 12;
  while (kInicioMes[mes - 1] + (mes > 2 ? fevereiro : 0u) >= diaDoAno) --mes;
  DiaMesAno data;
  data.ano = static_cast<std::uint16_t>(ano);
  data.mes = static_cast<std::uint16_t>(mes);
  data.dia = static_cast<std::uint16_t>(diaDoAno - kInicioMes[mes - 1] - (mes > 2 ? fevereiro : 0u));
  return data;
}

NumeroDia CodificaDia(unsigned dia, unsigned mes, unsigned ano) {
  if (dia == 0 && mes == 0 && ano == 0) return 0;
  if (mes < 1 || mes > 12 || ano < kPrimeiroAno || ano > kUltimoAno) return 0;
  const unsigned ultimo = DiasDoMes(mes, ano);
  if (dia > ultimo) dia = ultimo;
  const unsigned antesDoMes = kInicioMes[mes - 1] + (mes > 2 && Bissexto(ano) ? 1u : 0u);
  return DiasAntesDoAno(ano) + static_cast<NumeroDia>(antesDoMes + dia);
}

DiaMesAno DecodificaMes(std::uint16_t codigoMes) {
  if (codigoMes == 0) return {};
  unsigned indiceAno = codigoMes / 12u;
  unsigned mes = codigoMes % 12u;
  if (mes == 0) {
    mes = 12;
    --indiceAno;
  }
  DiaMesAno data;
  data.mes = static_cast<std::uint16_t>(mes);
  data.ano = static_cast<std::uint16_t>(kPrimeiroAno + indiceAno);
  return data;
}

std::uint16_t CodificaMes(unsigned mes, unsigned ano) {
  if (mes == 0 && ano == 0) return 0;
  if (mes < 1 || mes > 12 || ano < kPrimeiroAno || ano > kUltimoAno) return 0;
  return static_cast<std::uint16_t>((ano - kPrimeiroAno) * 12u + mes);
}

std::string TextoData(NumeroDia numeroDia, bool anoQuatroDigitos) {
  const DiaMesAno d = DecodificaDia(numeroDia);
  if (anoQuatroDigitos) return Formata("%02u/%02u/%04u", d.dia, d.mes, d.ano);
  return Formata("%02u/%02u/%02u", d.dia, d.mes, d.ano % 100u);
}

std::string DataInvertida(NumeroDia numeroDia, bool anoPrimeiro) {
  const DiaMesAno d = DecodificaDia(numeroDia);
  if (anoPrimeiro) return Formata("%04u%02u%02u", d.ano, d.mes, d.dia);
  return Formata("%02u%02u%04u", d.dia, d.mes, d.ano);
}

}  // namespace qmx
