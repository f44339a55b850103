#include "frame/TempoArquivo.h"

#include "plataforma/com/HResult.h"

namespace qmx {
namespace {

constexpr std::uint64_t kTicksPorDia = 86'400ull * kTicksPorSegundo;

bool Bissexto(unsigned ano) { return (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0; }

unsigned DiasNoMes(unsigned ano, unsigned mes) {
  static constexpr unsigned kDias[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return mes == 2 && Bissexto(ano) ? 29 : kDias[mes - 1];
}

// Days from 1 March of year 0 (the year counted from March, so the leap
// day falls at the end), for a date of the proleptic Gregorian calendar.
std::int64_t DiasCivis(std::int64_t ano, unsigned mes, unsigned dia) {
  ano -= mes <= 2 ? 1 : 0;
  const std::int64_t era = (ano >= 0 ? ano : ano - 399) / 400;
  const std::int64_t anoDaEra = ano - era * 400;
  const std::int64_t diaDoAno = (153 * (mes > 2 ? mes - 3 : mes + 9) + 2) / 5 + dia - 1;
  const std::int64_t diaDaEra = anoDaEra * 365 + anoDaEra / 4 - anoDaEra / 100 + diaDoAno;
  return era * 146097 + diaDaEra;
}

}  // namespace

std::int64_t DiasDesde1601(std::int64_t ano, unsigned mes, unsigned dia) {
  return DiasCivis(ano, mes, dia) - DiasCivis(1601, 1, 1);
}

std::uint32_t SystemTimeToFileTime(const SYSTEMTIME& c, FILETIME& ticks) {
  if (c.wYear < 1601 || c.wYear > 30827 || c.wMonth < 1 || c.wMonth > 12 || c.wDay < 1 ||
      c.wDay > DiasNoMes(c.wYear, c.wMonth) || c.wHour > 23 || c.wMinute > 59 || c.wSecond > 59 ||
      c.wMilliseconds > 999)
    return com::ERROR_INVALID_PARAMETER;
  const auto dias = static_cast<std::uint64_t>(DiasDesde1601(c.wYear, c.wMonth, c.wDay));
  const std::uint64_t milissegundos =
      ((c.wHour * 60ull + c.wMinute) * 60ull + c.wSecond) * 1000ull + c.wMilliseconds;
  ticks = dias * kTicksPorDia + milissegundos * 10'000ull;
  return com::ERROR_SUCCESS;
}

std::uint32_t FileTimeToSystemTime(FILETIME ticks, SYSTEMTIME& c) {
  if (ticks & 0x8000000000000000ull) return com::ERROR_INVALID_PARAMETER;
  const std::uint64_t dias = ticks / kTicksPorDia;
  const std::uint64_t resto = ticks % kTicksPorDia;
  // 400-year cycles of 146097 days, starting on 1 January 1601.
  std::uint64_t ano = 1601 + 400 * (dias / 146097);
  std::uint64_t diaDoCiclo = dias % 146097;
  for (;;) {
    const unsigned diasNoAno = Bissexto(static_cast<unsigned>(ano)) ? 366 : 365;
    if (diaDoCiclo < diasNoAno) break;
    diaDoCiclo -= diasNoAno;
    ++ano;
  }
  unsigned mes = 1;
  while (diaDoCiclo >= DiasNoMes(static_cast<unsigned>(ano), mes)) diaDoCiclo -= DiasNoMes(static_cast<unsigned>(ano), mes++);
  c.wYear = static_cast<std::uint16_t>(ano);
  c.wMonth = static_cast<std::uint16_t>(mes);
  c.wDay = static_cast<std::uint16_t>(diaDoCiclo + 1);
  c.wDayOfWeek = static_cast<std::uint16_t>((1 + dias) % 7);
  c.wHour = static_cast<std::uint16_t>(resto / (3600 * kTicksPorSegundo));
  c.wMinute = static_cast<std::uint16_t>(resto / (60 * kTicksPorSegundo) % 60);
  c.wSecond = static_cast<std::uint16_t>(resto / kTicksPorSegundo % 60);
  c.wMilliseconds = static_cast<std::uint16_t>(resto % kTicksPorSegundo / 10'000);
  return com::ERROR_SUCCESS;
}

}  // namespace qmx
