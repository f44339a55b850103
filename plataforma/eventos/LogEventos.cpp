#include "plataforma/eventos/LogEventos.h"

#include <syslog.h>

#include "plataforma/texto/Windows1252.h"

namespace qmx::eventos {
namespace {

CCapturaEventos* g_captura = nullptr;

int Prioridade(std::uint16_t tipo) {
  if (tipo == EVENTLOG_ERROR_TYPE) return LOG_ERR;
  if (tipo == EVENTLOG_WARNING_TYPE) return LOG_WARNING;
  return LOG_INFO;
}

// The system log takes one line per entry: the insertion strings are joined
// and their line breaks become blanks.
std::string UmaLinha(std::uint32_t id, const std::vector<std::string>& textos) {
  std::string linha = "evento " + std::to_string(id) + ":";
  for (const auto& texto : textos) {
    linha += ' ';
    for (char c : texto) linha += (c == '\n' || c == '\r') ? ' ' : c;
  }
  return qmx::texto::ParaUtf8(linha);
}

}  // namespace

CLogEventos::CLogEventos(const std::string& fonte) : m_fonte(fonte) {
  if (m_fonte.empty()) return;
  if (g_captura) {
    m_registrada = !g_captura->m_recusaRegistro;
    return;
  }
  // syslog keeps the name's pointer: the member lives until closelog.
  openlog(m_fonte.c_str(), LOG_PID, LOG_USER);
  m_registrada = true;
  m_noSistema = true;
}

CLogEventos::~CLogEventos() {
  if (m_noSistema) closelog();
}

bool CLogEventos::Reporta(std::uint16_t tipo, std::uint16_t categoria, std::uint32_t id,
                          const std::vector<std::string>& textos) {
  if (!m_registrada) return false;
  if (!m_noSistema) {
    if (!g_captura) return false;  // the capture that registered it has ended
    g_captura->m_eventos.push_back({m_fonte, tipo, categoria, id, textos});
    return true;
  }
  syslog(LOG_USER | Prioridade(tipo), "%s", UmaLinha(id, textos).c_str());
  return true;
}

CCapturaEventos::CCapturaEventos() : m_anterior(g_captura) { g_captura = this; }

CCapturaEventos::~CCapturaEventos() { g_captura = m_anterior; }

}  // namespace qmx::eventos
