#include "plataforma/eventos/LogEventos.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>

#include "plataforma/registro/Registro.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::eventos {
namespace {

std::mutex g_socketMutex;
std::string g_socketSistema = "/dev/log";

// The user's own event log: $XDG_STATE_HOME/qmxutil/eventos.log, else
// ~/.local/state/qmxutil/eventos.log.
std::optional<std::string> ArquivoDoUsuario() {
  if (const char* estado = std::getenv("XDG_STATE_HOME"); estado && *estado)
    return std::string(estado) + "/qmxutil/eventos.log";
  if (const char* casa = std::getenv("HOME"); casa && *casa) return std::string(casa) + "/.local/state/qmxutil/eventos.log";
  return std::nullopt;
}

bool TemLogDoSistema() {
  std::lock_guard<std::mutex> trava(g_socketMutex);
  struct stat info {};
  return ::stat(g_socketSistema.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

const char* NomeDoTipo(std::uint16_t tipo) {
  if (tipo == EVENTLOG_ERROR_TYPE) return "erro";
  if (tipo == EVENTLOG_WARNING_TYPE) return "aviso";
  return "informação";
}

// One line, written with a single call: O_APPEND keeps the lines of
// several processes whole.
bool EscreveLinha(int destino, const std::string& linha) {
  return ::write(destino, linha.data(), linha.size()) == static_cast<ssize_t>(linha.size());
}

// A line for a file or standard error, which do not name the source as the
// system log does. It carries no date: every time of the library comes from
// its own clock, which lives above this layer and may be shifted.
std::string LinhaCompleta(const std::string& fonte, std::uint16_t tipo, const std::string& texto) {
  return qmx::texto::ParaUtf8(fonte) + "[" + std::to_string(::getpid()) + "] " + qmx::texto::ParaUtf8(NomeDoTipo(tipo)) +
         ": " + texto + "\n";
}

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

bool CLogEventos::AbreNoSistema() {
  // syslog keeps the name's pointer: the member lives until closelog.
  openlog(m_fonte.c_str(), LOG_PID, LOG_USER);
  return true;
}

void CLogEventos::FechaNoSistema() { closelog(); }

bool CLogEventos::EscreveNoSistema(std::uint16_t tipo, std::uint16_t, std::uint32_t id,
                                   const std::vector<std::string>& textos) {
  const std::string linha = UmaLinha(id, textos);
  const std::string arquivo = registro::Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Eventos", "Arquivo");
  if (!arquivo.empty()) {
    const int destino = ::open(texto::CaminhoNativo(arquivo).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    const bool escrito = destino >= 0 && EscreveLinha(destino, LinhaCompleta(m_fonte, tipo, linha));
    if (destino >= 0) ::close(destino);
    if (escrito) return true;
  }
  if (TemLogDoSistema()) {
    syslog(LOG_USER | Prioridade(tipo), "%s", linha.c_str());
    return true;
  }
  // A machine without a system log (a container, a minimal install): the
  // user's own log file, never the program's error output, where it would
  // mix with what the program says.
  if (const auto proprio = ArquivoDoUsuario()) {
    std::error_code erro;
    std::filesystem::create_directories(std::filesystem::path(*proprio).parent_path(), erro);
    const int destino = ::open(proprio->c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    const bool escrito = destino >= 0 && EscreveLinha(destino, LinhaCompleta(m_fonte, tipo, linha));
    if (destino >= 0) ::close(destino);
    if (escrito) return true;
  }
  return EscreveLinha(STDERR_FILENO, LinhaCompleta(m_fonte, tipo, linha));
}

void CLogEventos::DefineSocketSistema(const std::string& caminho) {
  std::lock_guard<std::mutex> trava(g_socketMutex);
  g_socketSistema = caminho;
}

}  // namespace qmx::eventos
