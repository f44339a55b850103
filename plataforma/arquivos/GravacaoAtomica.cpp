#include "plataforma/arquivos/GravacaoAtomica.h"

#include <map>
#include <mutex>

#include "plataforma/arquivos/Descritores.h"

#include <cerrno>
#include <filesystem>

namespace qmx {
namespace fs = std::filesystem;

namespace {

void SincronizaPasta(const fs::path& pasta) {
  const int fd = descritores::Abre(descritores::Nome(pasta).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

constexpr long kSegundosRecemCriado = 3;

fs::path PastaDe(const fs::path& caminho) {
  return caminho.parent_path().empty() ? fs::path(".") : caminho.parent_path();
}

bool MesmoArquivo(int fd, const std::string& caminho) { return descritores::MesmoArquivo(fd, caminho); }

}  // namespace

bool GravacaoAtomica::EscreveTudo(int fd, const char* dados, std::size_t tamanho) {
  while (tamanho > 0) {
    const ssize_t n = ::write(fd, dados, tamanho);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    dados += n;
    tamanho -= static_cast<std::size_t>(n);
  }
  return true;
}

bool GravacaoAtomica::Temporario::Cria(const std::string& destinoNativo) {
  Descarta();
  const fs::path destino(destinoNativo);
  if (destino.filename().empty()) return errno = EINVAL, false;
  mode_t modo = 0644;
  struct stat estado {};
  if (::lstat(descritores::Nome(destino).c_str(), &estado) == 0 && S_ISREG(estado.st_mode)) modo = estado.st_mode & 07777;
  std::string caminho = descritores::Nome(PastaDe(destino) / ("." + descritores::Nome(destino.filename()) + kMarca + "XXXXXX"));
  const int fd = ::mkostemp(caminho.data(), O_CLOEXEC);
  if (fd < 0) return false;
  m_fd = fd;
  m_caminho = caminho;
  m_destino = descritores::Nome(destino);
  // Held until the rename: the lock tells a sweeping run that this one lives.
  if (::flock(fd, LOCK_EX) != 0 || !MesmoArquivo(fd, caminho) || ::fchmod(fd, modo) != 0) {
    const int erro = errno;
    Descarta();
    return errno = erro, false;
  }
  // The new temporary's own time is "now" for the folder's file system.
  struct stat proprio {};
  if (::fstat(fd, &proprio) == 0) {
    const std::string pasta = descritores::Nome(PastaDe(destino));
    if (HoraDeLimpar(pasta, descritores::SegundosModificacao(proprio)))
      LimpaAbandonados(pasta, descritores::SegundosModificacao(proprio));
  }
  return true;
}

bool GravacaoAtomica::Temporario::Conclui() {
  if (m_fd < 0) return errno = EBADF, false;
  const bool ok = ::fsync(m_fd) == 0 && descritores::Renomeia(m_caminho.c_str(), m_destino.c_str()) == 0;
  const int erro = errno;  // the cause, for the caller to report
  if (!ok) {
    Descarta();
    return errno = erro, false;
  }
  ::close(m_fd);
  m_fd = -1;
  m_caminho.clear();
  SincronizaPasta(PastaDe(fs::path(m_destino)));
  return true;
}

void GravacaoAtomica::Temporario::Descarta() noexcept {
  if (m_fd < 0) return;
  ::unlink(m_caminho.c_str());
  ::close(m_fd);
  m_fd = -1;
  m_caminho.clear();
}

bool GravacaoAtomica::OutroEscrevendo(const std::string& destinoNativo, const std::string& temporarioProprio) {
  const fs::path destino(destinoNativo);
  const std::string prefixo = "." + descritores::Nome(destino.filename()) + kMarca;
  const std::string proprio = descritores::Nome(fs::path(temporarioProprio).filename());
  std::error_code erro;
  for (fs::directory_iterator it(PastaDe(destino), erro), fim; !erro && it != fim; it.increment(erro)) {
    const std::string nome = descritores::Nome(it->path().filename());
    if (nome == proprio || nome.size() != prefixo.size() + 6 || nome.compare(0, prefixo.size(), prefixo) != 0) continue;
    const int fd = descritores::Abre(descritores::Nome(it->path()).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    const bool vivo = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    ::close(fd);
    if (vivo) return true;
  }
  return false;
}

bool GravacaoAtomica::Substitui(const std::string& destinoNativo, const std::function<bool(int)>& escreve) {
  Temporario temporario;
  if (!temporario.Cria(destinoNativo)) return false;
  if (!escreve(temporario.Descritor())) {
    const int erro = errno;
    temporario.Descarta();
    errno = erro;
    return false;
  }
  return temporario.Conclui();
}

bool GravacaoAtomica::Substitui(const std::string& destinoNativo, int origem) {
  return Substitui(destinoNativo, [origem](int fd) {
    char bloco[1 << 16];
    for (off_t deslocamento = 0;;) {
      const ssize_t n = ::pread(origem, bloco, sizeof bloco, deslocamento);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) return true;
      if (!EscreveTudo(fd, bloco, static_cast<std::size_t>(n))) return false;
      deslocamento += n;
    }
  });
}

bool GravacaoAtomica::HoraDeLimpar(const std::string& pastaNativa, std::int64_t agora) {
  static std::mutex trava;
  static std::map<std::string, std::int64_t> ultimas;
  const std::lock_guard<std::mutex> guarda(trava);
  const auto [ultima, primeira] = ultimas.try_emplace(pastaNativa, agora);
  // A clock set back sweeps too.
  if (!primeira && agora >= ultima->second && agora - ultima->second < kSegundosEntreLimpezas) return false;
  ultima->second = agora;
  return true;
}

GravacaoAtomica::Limpeza GravacaoAtomica::LimpaAbandonados(const std::string& pastaNativa, std::int64_t agora) {
  Limpeza limpeza;
  std::error_code erro;
  for (fs::directory_iterator it(pastaNativa, erro), fim; !erro && it != fim; it.increment(erro)) {
    const std::string nome = descritores::Nome(it->path().filename());
    if (nome.empty() || nome[0] != '.' || nome.find(kMarca) == std::string::npos) continue;
    const int fd = descritores::Abre(descritores::Nome(it->path()).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat estado {};
    // Only a regular file nobody holds: its writer is gone. An empty one
    // made in the last seconds may belong to a writer that has created it
    // but not yet locked it; it is left for a later run.
    if (::fstat(fd, &estado) == 0 && S_ISREG(estado.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        !(estado.st_size == 0 && agora - descritores::SegundosModificacao(estado) < kSegundosRecemCriado) &&
        MesmoArquivo(fd, descritores::Nome(it->path())) && ::unlink(descritores::Nome(it->path()).c_str()) == 0) {
      ++limpeza.arquivos;
      limpeza.bytes += static_cast<std::uint64_t>(estado.st_size);
    }
    ::close(fd);
  }
  return limpeza;
}

}  // namespace qmx
