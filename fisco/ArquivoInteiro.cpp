#include "fisco/ArquivoInteiro.h"

#include <cerrno>
#include <algorithm>
#include <filesystem>

#include "plataforma/arquivos/Descritores.h"
#include "plataforma/arquivos/GravacaoAtomica.h"
#include "plataforma/arquivos/LeituraRegular.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {
namespace {

struct Descritor {
  int fd;
  ~Descritor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::optional<std::string> ArquivoInteiro::Le(const std::string& caminho) {
  Descritor arquivo{LeituraRegular::Abre(texto::CaminhoNativo(caminho))};
  struct stat estado {};
  if (arquivo.fd < 0 || ::fstat(arquivo.fd, &estado) != 0) return std::nullopt;
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

template <class TEscreve>
bool SubstituiCom(const std::string& caminho, TEscreve&& escreve) {
  // A symbolic link in the library's own folders is never followed: the
  // rename replaces the link itself, so a link planted there cannot make
  // the library overwrite a file elsewhere. A missing file is created.
  return GravacaoAtomica::Substitui(texto::CaminhoNativo(caminho), escreve);
}

}  // namespace

bool ArquivoInteiro::Substitui(const std::string& caminho, const std::string& conteudo) {
  return SubstituiCom(caminho, [&](int fd) { return GravacaoAtomica::EscreveTudo(fd, conteudo.data(), conteudo.size()); });
}

}  // namespace qmx
