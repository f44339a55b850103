#include "arquivos/SaidaTemporaria.h"

#include <cerrno>

#include "plataforma/arquivos/Descritores.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/processo/Andamento.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {

namespace {

constexpr std::size_t kBuffer = 64 * 1024;

}  // namespace

bool CSaidaTemporaria::Cria() {
  const auto pasta = ArquivoTemporario::Pasta();
  if (!pasta || !m_temporario.Cria(*pasta, "txt")) return false;
  m_fd = descritores::Abre(texto::CaminhoNativo(m_temporario.Caminho()).c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (m_fd < 0) {
    m_temporario.Remove();
    return false;
  }
  m_buffer.reserve(kBuffer);
  return true;
}

void CSaidaTemporaria::Escreve(std::string_view texto) {
  if (m_fd < 0) throw CExcecaoArquivo(CExcecaoArquivo::generica, EBADF, Caminho());
  // What leaves the buffer tells the thread's long work, if anyone follows
  // it, how far it has gone.
  if (m_buffer.size() + texto.size() > kBuffer) {
    processo::ContaEscrita(static_cast<std::int64_t>(m_buffer.size()));
    Descarrega();
  }
  if (texto.size() >= kBuffer) {
    processo::ContaEscrita(static_cast<std::int64_t>(texto.size()));
    if (!GravacaoAtomica::EscreveTudo(m_fd, texto.data(), texto.size())) Falha(errno ? errno : EIO);
    m_escritos += texto.size();
    return;
  }
  m_buffer.append(texto);
}

void CSaidaTemporaria::Descarrega() {
  if (m_buffer.empty()) return;
  if (!GravacaoAtomica::EscreveTudo(m_fd, m_buffer.data(), m_buffer.size())) Falha(errno ? errno : EIO);
  m_escritos += m_buffer.size();
  m_buffer.clear();
}

void CSaidaTemporaria::Fecha() {
  if (m_fd < 0) return;
  Descarrega();
  // A file system that takes the bytes and fails later says so here.
  if (::fsync(m_fd) != 0) Falha(errno);
  const int fd = m_fd;
  m_fd = -1;
  if (::close(fd) != 0) Falha(errno);
}

void CSaidaTemporaria::Falha(int erro) {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  m_buffer.clear();
  throw CExcecaoArquivo(CExcecaoArquivo::CausaDoErro(erro), erro, Caminho());
}

CSaidaTemporaria::~CSaidaTemporaria() {
  if (m_fd >= 0) ::close(m_fd);
  if (m_mantem) m_temporario.Mantem();
}

}  // namespace qmx
