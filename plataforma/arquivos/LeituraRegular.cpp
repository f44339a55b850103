#include "plataforma/arquivos/LeituraRegular.h"

#include "plataforma/arquivos/Descritores.h"

#include <cerrno>

namespace qmx {

int LeituraRegular::Abre(const std::string& caminhoNativo) {
  if (caminhoNativo.empty() || caminhoNativo.find('\0') != std::string::npos) return -1;
  // O_NONBLOCK keeps the open of a FIFO without writer from waiting; the
  // type check then refuses it, and a regular file goes back to blocking.
  const int fd = descritores::Abre(caminhoNativo.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat estado {};
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &estado) != 0 || !S_ISREG(estado.st_mode) || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

std::optional<std::string> LeituraRegular::Le(const std::string& caminhoNativo) {
  const int fd = Abre(caminhoNativo);
  if (fd < 0) return std::nullopt;
  std::string conteudo;
  char bloco[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, bloco, sizeof bloco);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    conteudo.append(bloco, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return conteudo;
}

}  // namespace qmx
