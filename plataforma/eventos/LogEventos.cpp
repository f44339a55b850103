#include "plataforma/eventos/LogEventos.h"

// What every system shares: the source's registration and the capture that
// takes the entries instead of the system (LogEventosPosix.cpp and
// LogEventosWin32.cpp write to the system).
namespace qmx::eventos {
namespace {

CCapturaEventos* g_captura = nullptr;

}  // namespace

CLogEventos::CLogEventos(const std::string& fonte) : m_fonte(fonte) {
  if (m_fonte.empty()) return;
  if (g_captura) {
    m_registrada = !g_captura->m_recusaRegistro;
    return;
  }
  m_noSistema = AbreNoSistema();
  m_registrada = m_noSistema;
}

CLogEventos::~CLogEventos() {
  if (m_noSistema) FechaNoSistema();
}

bool CLogEventos::Reporta(std::uint16_t tipo, std::uint16_t categoria, std::uint32_t id,
                          const std::vector<std::string>& textos) {
  if (!m_registrada) return false;
  if (m_noSistema) return EscreveNoSistema(tipo, categoria, id, textos);
  if (!g_captura) return false;  // the capture that registered it has ended
  g_captura->m_eventos.push_back({m_fonte, tipo, categoria, id, textos});
  return true;
}

CCapturaEventos::CCapturaEventos() : m_anterior(g_captura) { g_captura = this; }

CCapturaEventos::~CCapturaEventos() { g_captura = m_anterior; }

}  // namespace qmx::eventos
