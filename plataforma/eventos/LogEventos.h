#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qmx::eventos {

// Event types, with the event log's values.
constexpr std::uint16_t EVENTLOG_ERROR_TYPE = 1;
constexpr std::uint16_t EVENTLOG_WARNING_TYPE = 2;
constexpr std::uint16_t EVENTLOG_INFORMATION_TYPE = 4;

// One entry as it was reported.
struct EventoRegistrado {
  std::string fonte;
  std::uint16_t tipo = 0;
  std::uint16_t categoria = 0;
  std::uint32_t id = 0;
  std::vector<std::string> textos;  // the insertion strings, Windows-1252
};

// The machine's event log, reached through a registered event source. On
// Windows the entries go to the Application log (ReportEvent). Elsewhere
// each entry is one line of UTF-8 text and goes, in this order of
// preference: to the file named by the registry value "Arquivo" of
// SOFTWARE\ZT Redudeva\Eventos (appended, with the source, its process and
// the type); else to the system log (syslog, with the source as its name)
// when the machine has one; else to standard error, so that it is never
// lost. While a capture is active the entries go to the capture instead.
class CLogEventos {
 public:
  // Registers the source; an empty source name cannot be registered.
  explicit CLogEventos(const std::string& fonte);
  ~CLogEventos();  // deregisters the source
  CLogEventos(const CLogEventos&) = delete;
  CLogEventos& operator=(const CLogEventos&) = delete;

  bool Registrada() const { return m_registrada; }
  // Writes one entry; false when the source is not registered.
  bool Reporta(std::uint16_t tipo, std::uint16_t categoria, std::uint32_t id, const std::vector<std::string>& textos);

  // The socket through which the system log is reached ("/dev/log"); a
  // test names a missing one to see the fall-back to standard error.
  static void DefineSocketSistema(const std::string& caminho);

 private:
  // The system's side, one implementation per system: register the source,
  // write one entry, deregister.
  bool AbreNoSistema();
  bool EscreveNoSistema(std::uint16_t tipo, std::uint16_t categoria, std::uint32_t id,
                        const std::vector<std::string>& textos);
  void FechaNoSistema();

  std::string m_fonte;
  bool m_registrada = false;
  bool m_noSistema = false;  // registered with the system log, not a capture
  void* m_sistema = nullptr;  // the event source's handle, where the system has one
};

// Collects the entries reported during its life instead of writing them to
// the system log, so tests can read them and the machine's log stays clean.
// It can also refuse the registration of sources, as a log that cannot be
// reached does.
class CCapturaEventos {
 public:
  CCapturaEventos();
  ~CCapturaEventos();
  CCapturaEventos(const CCapturaEventos&) = delete;
  CCapturaEventos& operator=(const CCapturaEventos&) = delete;

  const std::vector<EventoRegistrado>& Eventos() const { return m_eventos; }
  void RecusaRegistro(bool recusa) { m_recusaRegistro = recusa; }
  void Limpa() { m_eventos.clear(); }

 private:
  friend class CLogEventos;
  std::vector<EventoRegistrado> m_eventos;
  bool m_recusaRegistro = false;
  CCapturaEventos* m_anterior;
};

}  // namespace qmx::eventos
