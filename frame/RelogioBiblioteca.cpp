#include "frame/RelogioBiblioteca.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "frame/ZTException.h"
#include "plataforma/com/HResult.h"
#include "plataforma/registro/Registro.h"

namespace qmx {
namespace {

constexpr std::uint32_t kSistemaBase = 1;  // the exceptions of the clock belong to system 1
constexpr std::uint64_t kTicks1601Ate1970 = 116'444'736'000'000'000ull;

// The machine's clock. This is the one place of the library that reads it.
InstanteSistema LeRelogioDaMaquina() {
  using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, kTicksPorSegundo>>;
  const auto agora = std::chrono::system_clock::now();
  const std::int64_t ticksUnix = std::chrono::duration_cast<Ticks>(agora.time_since_epoch()).count();
  std::int64_t segundos = ticksUnix / static_cast<std::int64_t>(kTicksPorSegundo);
  std::int64_t fracao = ticksUnix % static_cast<std::int64_t>(kTicksPorSegundo);
  if (fracao < 0) {
    fracao += kTicksPorSegundo;
    --segundos;
  }
  const std::time_t tempo = static_cast<std::time_t>(segundos);
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &tempo);
#else
  localtime_r(&tempo, &local);
#endif
  const std::int64_t dias = DiasDesde1601(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                          static_cast<unsigned>(local.tm_mday));
  const std::int64_t segundosLocais = dias * 86400 + local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  // The local time is taken as calendar fields, which stop at the
  // millisecond: the finer part of the reading is dropped.
  constexpr std::int64_t kTicksPorMilissegundo = 10'000;
  fracao -= fracao % kTicksPorMilissegundo;
  InstanteSistema instante;
  instante.local = static_cast<FILETIME>(segundosLocais) * kTicksPorSegundo + static_cast<FILETIME>(fracao);
  instante.desvioUtc = (segundosLocais - (segundos + static_cast<std::int64_t>(kTicks1601Ate1970 / kTicksPorSegundo))) *
                       static_cast<std::int64_t>(kTicksPorSegundo);
  return instante;
}

LeitorRelogioSistema& LeitorAtual() {
  static LeitorRelogioSistema leitor;
  return leitor;
}

InstanteSistema LeSistema() {
  const LeitorRelogioSistema& leitor = LeitorAtual();
  return leitor ? leitor() : LeRelogioDaMaquina();
}

// One "%u" of the setting: blanks, an optional sign, at least one digit;
// the digits wrap around in 32 bits and a minus sign negates, as the
// Windows run time's scanf reads them.
bool LeSemSinal(const std::string& texto, std::size_t& pos, std::uint32_t& valor) {
  while (pos < texto.size() && (texto[pos] == ' ' || (texto[pos] >= '\t' && texto[pos] <= '\r'))) ++pos;
  bool negativo = false;
  if (pos < texto.size() && (texto[pos] == '+' || texto[pos] == '-')) negativo = texto[pos++] == '-';
  if (pos >= texto.size() || texto[pos] < '0' || texto[pos] > '9') return false;
  valor = 0;
  while (pos < texto.size() && texto[pos] >= '0' && texto[pos] <= '9')
    valor = valor * 10u + static_cast<std::uint32_t>(texto[pos++] - '0');
  if (negativo) valor = 0u - valor;
  return true;
}

// The 15 numbers of the setting, in the order of the pattern
// "%u;%u/%u/%u;%u:%u:%u:%u;%u/%u/%u;%u:%u:%u:%u"; false when fewer were read.
bool LeConfiguracao(const std::string& texto, std::uint32_t (&numeros)[15]) {
  static constexpr char kSeparadores[15] = {';', '/', '/', ';', ':', ':', ':', ';', '/', '/', ';', ':', ':', ':', '\0'};
  std::size_t pos = 0;
  for (int i = 0; i < 15; ++i) {
    if (!LeSemSinal(texto, pos, numeros[i])) return false;
    if (kSeparadores[i] == '\0') break;
    if (pos >= texto.size() || texto[pos] != kSeparadores[i]) return false;
    ++pos;
  }
  return true;
}

// Calendar fields are 16-bit: a number read is cut to its low 16 bits.
SYSTEMTIME Campos(const std::uint32_t* n) {
  SYSTEMTIME c;
  c.wDay = static_cast<std::uint16_t>(n[0]);
  c.wMonth = static_cast<std::uint16_t>(n[1]);
  c.wYear = static_cast<std::uint16_t>(n[2]);
  c.wHour = static_cast<std::uint16_t>(n[3]);
  c.wMinute = static_cast<std::uint16_t>(n[4]);
  c.wSecond = static_cast<std::uint16_t>(n[5]);
  c.wMilliseconds = static_cast<std::uint16_t>(n[6]);
  return c;
}

FILETIME Helper_SystemTimeToFileTime(const SYSTEMTIME& campos) {
  FILETIME ticks = 0;
  if (const std::uint32_t erro = SystemTimeToFileTime(campos, ticks); erro != 0)
    throw CZTException("Helper_SystemTimeToFileTime: SystemTimeToFileTime", kSistemaBase, erro);
  return ticks;
}

// The (possibly shifted) local time and the distance from UTC of the same
// reading of the machine's clock.
InstanteSistema AgoraLocalComDesvio() {
  InstanteSistema instante = LeSistema();
  // The machine's environment value: the process's own environment, which
  // inherits it and may set it for one run, over the machine settings file
  // that stands for the registry.
  const char* doAmbiente = std::getenv("ZT_DATETIME");
  const std::string configuracao =
      doAmbiente ? std::string(doAmbiente)
                 : registro::Registro::LeTexto("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                                               "ZT_DATETIME");
  std::uint32_t n[15];
  if (!LeConfiguracao(configuracao, n) || n[0] == 0) return instante;
  // A two-digit year of either date is read in the hundred years of the
  // machine's own year (the simulated one is what is being worked out).
  SYSTEMTIME real;
  if (FileTimeToSystemTime(instante.local, real) == 0)
    for (std::uint32_t* ano : {&n[3], &n[10]})
      if (*ano < 100) *ano = AnoNaJanela(*ano, real.wYear);
  const FILETIME referencia = Helper_SystemTimeToFileTime(Campos(n + 8));
  const FILETIME simulado = Helper_SystemTimeToFileTime(Campos(n + 1));
  // Unsigned ticks: the sum wraps as the 64-bit arithmetic of the platform
  // does; a result before 1601 then fails where it is turned into fields.
  instante.local = instante.local - referencia + simulado;
  return instante;
}

FILETIME UtcDe(const InstanteSistema& instante) {
  const auto local = static_cast<std::int64_t>(instante.local);
  const std::int64_t utc = local - instante.desvioUtc;
  if (local < 0 || utc < 0)
    throw CZTException("GetCurrentTime_SystemTimeAsFileTime: LocalFileTimeToFileTime", kSistemaBase,
                       com::ERROR_INVALID_PARAMETER);
  return static_cast<FILETIME>(utc);
}

std::string Formata(const char* formato, int a, int b, int c, int d = 0) {
  char texto[64];
  std::snprintf(texto, sizeof texto, formato, a, b, c, d);
  return texto;
}

}  // namespace

FILETIME CQMXRelogio::PegaAgoraLocal() { return AgoraLocalComDesvio().local; }

SYSTEMTIME CQMXRelogio::PegaHoraLocal() {
  SYSTEMTIME campos;
  if (const std::uint32_t erro = FileTimeToSystemTime(PegaAgoraLocal(), campos); erro != 0)
    throw CZTException("GetCurrentTime_LocalTime: FileTimeToSystemTime", kSistemaBase, erro);
  return campos;
}

FILETIME CQMXRelogio::PegaAgoraUtc() { return UtcDe(AgoraLocalComDesvio()); }

SYSTEMTIME CQMXRelogio::PegaHoraUtc() {
  SYSTEMTIME campos;
  if (const std::uint32_t erro = FileTimeToSystemTime(PegaAgoraUtc(), campos); erro != 0)
    throw CZTException("GetCurrentTime_SystemTime: FileTimeToSystemTime", kSistemaBase, erro);
  return campos;
}

std::string CQMXRelogio::PegaDataHoje(bool anoDoisDigitos) {
  const SYSTEMTIME c = PegaHoraLocal();
  if (anoDoisDigitos) return Formata("%02d/%02d/%02d", c.wDay, c.wMonth, c.wYear % 100);
  return Formata("%02d/%02d/%04d", c.wDay, c.wMonth, c.wYear);
}

NumeroDia CQMXRelogio::PegaDiaHoje() {
  const SYSTEMTIME c = PegaHoraLocal();
  return CodificaDia(c.wDay, c.wMonth, c.wYear);
}

namespace {
// The 16-bit day numbers and two-digit years of the whole library slide
// with this clock.
[[maybe_unused]] const bool kFonteDefinida = (DefineFonteHoje(&CQMXRelogio::PegaDiaHoje), true);

// Its instant in milliseconds since 1970, for what counts time across
// processes (ticks count from 1601 in hundreds of nanoseconds).
std::int64_t MilissegundosUtc() {
  constexpr std::int64_t kTicks1970 = 116444736000000000;
  return (static_cast<std::int64_t>(CQMXRelogio::PegaAgoraUtc()) - kTicks1970) / 10000;
}
[[maybe_unused]] const bool kFonteAgoraDefinida = (DefineFonteAgora(&MilissegundosUtc), true);
}  // namespace

std::string CQMXRelogio::PegaMesAno() { return PegaDataHoje(false).substr(3); }

std::uint16_t CQMXRelogio::PegaCodigoMes() {
  const SYSTEMTIME c = PegaHoraLocal();
  return CodificaMes(c.wMonth, c.wYear);
}

std::uint16_t CQMXRelogio::PegaMinutos() {
  const SYSTEMTIME c = PegaHoraLocal();
  return static_cast<std::uint16_t>(c.wHour * 60 + c.wMinute);
}

std::int32_t CQMXRelogio::PegaHHMM() {
  const SYSTEMTIME c = PegaHoraLocal();
  return c.wHour * 100 + c.wMinute;
}

std::string CQMXRelogio::PegaHHMMTexto() { return std::to_string(PegaHHMM()); }

std::int32_t CQMXRelogio::PegaHHMMSS() {
  const SYSTEMTIME c = PegaHoraLocal();
  return c.wHour * 10000 + c.wMinute * 100 + c.wSecond;
}

std::int32_t CQMXRelogio::PegaSegundos() {
  const SYSTEMTIME c = PegaHoraLocal();
  return c.wHour * 3600 + c.wMinute * 60 + c.wSecond;
}

std::string CQMXRelogio::PegaHoraTexto() {
  const SYSTEMTIME c = PegaHoraLocal();
  return Formata("%02d:%02d:%02d", c.wHour, c.wMinute, c.wSecond);
}

std::string CQMXRelogio::PegaHoraTextoMilissegundos() {
  const SYSTEMTIME c = PegaHoraLocal();
  return Formata("%02d:%02d:%02d.%03d", c.wHour, c.wMinute, c.wSecond, c.wMilliseconds);
}

RelogioSistemaSubstituido::RelogioSistemaSubstituido(LeitorRelogioSistema leitor)
    : m_anterior(std::move(LeitorAtual())) {
  LeitorAtual() = std::move(leitor);
}

RelogioSistemaSubstituido::~RelogioSistemaSubstituido() { LeitorAtual() = std::move(m_anterior); }

}  // namespace qmx
