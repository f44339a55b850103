#include "fisco/ArquivoInteiro.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <filesystem>

#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {
namespace {

struct Descritor {
  int fd;
  ~Descritor() {
    if (fd >= 0) ::close(fd);
  }
};

bool EscreveTudo(int fd, const std::string& conteudo) {
  size_t escrito = 0;
  while (escrito < conteudo.size()) {
    const ssize_t n = ::write(fd, conteudo.data() + escrito, conteudo.size() - escrito);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    escrito += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<std::string> ArquivoInteiro::Le(const std::string& caminho) {
  Descritor arquivo{::open(texto::CaminhoNativo(caminho).c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat estado {};
  if (arquivo.fd < 0 || ::fstat(arquivo.fd, &estado) != 0 || !S_ISREG(estado.st_mode)) return std::nullopt;
  std::string conteudo(static_cast<size_t>(estado.st_size), '\0');
  size_t lido = 0;
  while (lido < conteudo.size()) {
    const ssize_t n = ::read(arquivo.fd, conteudo.data() + lido, conteudo.size() - lido);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;  // the file shrank, or the read failed
    lido += static_cast<size_t>(n);
  }
  return conteudo;
}

namespace {

// Copies `tamanho` bytes from the start of `origem` to `destino`.
bool CopiaInicio(int origem, int destino, std::size_t tamanho) {
  off_t deslocamento = 0;
  while (tamanho > 0) {
    const ssize_t n = ::copy_file_range(origem, &deslocamento, destino, nullptr, tamanho, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    tamanho -= static_cast<std::size_t>(n);
  }
  // Where the kernel cannot copy between these files, copy by hand.
  char bloco[1 << 16];
  while (tamanho > 0) {
    const ssize_t n = ::pread(origem, bloco, std::min(sizeof bloco, tamanho), deslocamento);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || !EscreveTudo(destino, std::string(bloco, static_cast<std::size_t>(n)))) return false;
    deslocamento += n;
    tamanho -= static_cast<std::size_t>(n);
  }
  return true;
}

template <class TEscreve>
bool SubstituiCom(const std::string& caminho, TEscreve&& escreve) {
  std::error_code erro;
  std::filesystem::path destino = texto::CaminhoNativo(caminho);
  // A link is replaced through its target; a missing file is simply created.
  if (std::filesystem::is_symlink(destino, erro)) {
    destino = std::filesystem::canonical(destino, erro);
    if (erro) return false;
  }
  mode_t modo = 0644;
  struct stat estado {};
  if (::stat(destino.c_str(), &estado) == 0) modo = estado.st_mode & 07777;

  std::string modelo = (destino.parent_path().empty() ? std::filesystem::path(".") : destino.parent_path()) /
                       ("." + destino.filename().string() + ".XXXXXX");
  Descritor temporario{::mkstemp(modelo.data())};
  if (temporario.fd < 0) return false;
  const bool ok = ::fchmod(temporario.fd, modo) == 0 && escreve(temporario.fd) && ::fsync(temporario.fd) == 0;
  if (!ok || ::rename(modelo.c_str(), destino.c_str()) != 0) {
    ::unlink(modelo.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool ArquivoInteiro::Substitui(const std::string& caminho, const std::string& conteudo) {
  return SubstituiCom(caminho, [&](int fd) { return EscreveTudo(fd, conteudo); });
}

bool ArquivoInteiro::Substitui(const std::string& caminho, int origem, std::size_t tamanhoInicio,
                               const std::string& final) {
  return SubstituiCom(caminho,
                      [&](int fd) { return CopiaInicio(origem, fd, tamanhoInicio) && EscreveTudo(fd, final); });
}

}  // namespace qmx
