#include "plataforma/arquivos/ArquivoTemporario.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include "plataforma/arquivos/Descritores.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {

std::optional<std::string> ArquivoTemporario::Pasta() {
  std::error_code erro;
  const auto pasta = std::filesystem::temp_directory_path(erro);
  if (erro) return std::nullopt;
  // A folder the library's texts cannot name (a character outside the
  // system's code page) is no folder for it.
  const auto nativo = descritores::NomeExato(pasta);
  if (!nativo) return std::nullopt;
  std::string caminho = texto::CaminhoWindows(*nativo);
  if (caminho.empty() || caminho.back() != '\\') caminho += '\\';
  if (caminho.size() > 260) return std::nullopt;
  return caminho;
}

namespace {

constexpr long kSegundosRecemCriado = 3;

}  // namespace

ArquivoTemporario::~ArquivoTemporario() { Remove(); }

bool ArquivoTemporario::Cria(const std::string& pasta, const std::string& prefixo) {
  Remove();
  std::random_device aleatorio;
  const unsigned inicio = aleatorio() & 0xFFFFu;
  for (unsigned tentativa = 0; tentativa < 0x10000u; ++tentativa) {
    const unsigned numero = (inicio + tentativa) & 0xFFFFu;
    if (numero == 0) continue;
    char nome[32];
    std::snprintf(nome, sizeof nome, "%.3s%X.tmp", prefixo.c_str(), numero);
    const std::string caminho = pasta + nome;
    const std::string nativo = texto::CaminhoNativo(caminho);
    const std::filesystem::path nativoPath(nativo);
    const std::string marca =
        descritores::Nome(nativoPath.parent_path() / ("." + descritores::Nome(nativoPath.filename()) + kMarca));
    // The mark first, held from the start; then the file itself.
    const int fdMarca = descritores::Abre(marca.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fdMarca < 0) {
      if (errno == EEXIST) continue;
      return false;  // the folder cannot be written
    }
    if (::flock(fdMarca, LOCK_EX) != 0) {
      ::unlink(marca.c_str());
      ::close(fdMarca);
      return false;
    }
    const int fd = descritores::Abre(nativo.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      const int erro = errno;
      ::unlink(marca.c_str());
      ::close(fdMarca);
      if (erro == EEXIST) continue;
      return errno = erro, false;
    }
    ::close(fd);
    m_caminho = caminho;
    m_marca = marca;
    m_fdMarca = fdMarca;
    // What killed runs left in the folder goes, now that this run has its
    // own file (whose time is the file system's "now"), when it is time to
    // sweep it.
    struct stat estado {};
    if (::fstat(fdMarca, &estado) == 0) {
      const std::string pastaNativa = descritores::Nome(nativoPath.parent_path());
      if (GravacaoAtomica::HoraDeLimpar(pastaNativa, descritores::SegundosModificacao(estado))) {
        LimpaAbandonados(pastaNativa, descritores::SegundosModificacao(estado));
        GravacaoAtomica::LimpaAbandonados(pastaNativa, descritores::SegundosModificacao(estado));
      }
    }
    return true;
  }
  return false;
}

void ArquivoTemporario::Remove() noexcept {
  if (!m_caminho.empty() && m_fdMarca >= 0) ::unlink(texto::CaminhoNativo(m_caminho).c_str());
  SoltaMarca();
}

// The file stays for the program that wanted it, with its mark, which
// nobody holds now: it counts among what runs left behind, and the next
// temporary made in the folder (or qmx limpar) removes it, as a leftover
// that no run will ask for again.
void ArquivoTemporario::Mantem() noexcept {
  if (m_fdMarca >= 0) ::close(m_fdMarca);
  m_fdMarca = -1;
  m_marca.clear();
  m_caminho.clear();
}

void ArquivoTemporario::SoltaMarca() noexcept {
  if (m_fdMarca >= 0) {
    ::unlink(m_marca.c_str());
    ::close(m_fdMarca);
  }
  m_fdMarca = -1;
  m_marca.clear();
  m_caminho.clear();
}

GravacaoAtomica::Limpeza ArquivoTemporario::LimpaAbandonados(const std::string& pastaNativa, std::int64_t agora) {
  GravacaoAtomica::Limpeza limpeza;
  const std::string sufixo = kMarca;
  std::error_code erro;
  for (std::filesystem::directory_iterator it(pastaNativa, erro), fim; !erro && it != fim; it.increment(erro)) {
    const std::string nome = descritores::Nome(it->path().filename());
    if (nome.size() <= sufixo.size() + 1 || nome[0] != '.' ||
        nome.compare(nome.size() - sufixo.size(), sufixo.size(), sufixo) != 0)
      continue;
    const std::string marca = descritores::Nome(it->path());
    const int fd = descritores::Abre(marca.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat estado {};
    // A mark nobody holds, not made in the last seconds (its run may be
    // between making and locking it): the run is gone.
    if (::fstat(fd, &estado) == 0 && S_ISREG(estado.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        agora - descritores::SegundosModificacao(estado) >= kSegundosRecemCriado &&
        descritores::MesmoArquivo(fd, marca)) {
      const auto arquivo = it->path().parent_path() / nome.substr(1, nome.size() - 1 - sufixo.size());
      struct stat doArquivo {};
      if (::lstat(descritores::Nome(arquivo).c_str(), &doArquivo) == 0 && S_ISREG(doArquivo.st_mode) &&
          ::unlink(descritores::Nome(arquivo).c_str()) == 0) {
        ++limpeza.arquivos;
        limpeza.bytes += static_cast<std::uint64_t>(doArquivo.st_size);
      }
      ::unlink(marca.c_str());
    }
    ::close(fd);
  }
  return limpeza;
}

}  // namespace qmx
