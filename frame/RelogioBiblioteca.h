#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "frame/TempoArquivo.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// What the machine's clock says at one moment: the local time in ticks and
// the local time's distance from UTC (local minus UTC, in ticks) at that
// moment.
struct InstanteSistema {
  FILETIME local = 0;
  std::int64_t desvioUtc = 0;
};

// The library clock: every "now" of the library comes from here.
//
// It is the machine's local time, unless the machine-wide setting
// ZT_DATETIME (registry key "SYSTEM\CurrentControlSet\Control\Session
// Manager\Environment") shifts it: "flag;d/m/y;h:m:s:ms;d/m/y;h:m:s:ms" with
// the flag, the simulated instant and the real (reference) instant that
// corresponds to it. With all 15 numbers read and the flag not 0, the clock
// reads real time - reference + simulated, so simulated time runs on from
// the simulated instant. The setting is read at every call; an incomplete
// one is ignored. An impossible date (in the setting or as a result) throws
// CZTException of system 1 with the system error code.
class CQMXRelogio {
 public:
  // Local time as ticks and as calendar fields; UTC likewise (the shifted
  // local time less the machine's current distance from UTC).
  static FILETIME PegaAgoraLocal();
  static SYSTEMTIME PegaHoraLocal();
  static FILETIME PegaAgoraUtc();
  static SYSTEMTIME PegaHoraUtc();

  // Today: "dd/mm/aaaa", or "dd/mm/aa" with a two-digit year; as a day
  // number; the month as "mm/aaaa" and as a month code. The clock is also
  // where the 16-bit day numbers and two-digit years are read from
  // (JanelaDatas.h): it installs itself as their source of today.
  static std::string PegaDataHoje(bool anoDoisDigitos = false);
  static NumeroDia PegaDiaHoje();
  static std::string PegaMesAno();
  static std::uint16_t PegaCodigoMes();

  // The time of day: minutes since midnight, HHMM as a number and as text,
  // HHMMSS, seconds since midnight, "hh:mm:ss" and "hh:mm:ss.mmm".
  static std::uint16_t PegaMinutos();
  static std::int32_t PegaHHMM();
  static std::string PegaHHMMTexto();
  static std::int32_t PegaHHMMSS();
  static std::int32_t PegaSegundos();
  static std::string PegaHoraTexto();
  static std::string PegaHoraTextoMilissegundos();
};

// Where the clock reads the machine's time. Replaced for the life of the
// object (tests run at a chosen real time).
using LeitorRelogioSistema = std::function<InstanteSistema()>;

class RelogioSistemaSubstituido {
 public:
  explicit RelogioSistemaSubstituido(LeitorRelogioSistema leitor);
  ~RelogioSistemaSubstituido();
  RelogioSistemaSubstituido(const RelogioSistemaSubstituido&) = delete;
  RelogioSistemaSubstituido& operator=(const RelogioSistemaSubstituido&) = delete;

 private:
  LeitorRelogioSistema m_anterior;
};

}  // namespace qmx
