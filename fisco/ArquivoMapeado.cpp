#include "fisco/ArquivoMapeado.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {

ArquivoMapeado::ArquivoMapeado(const std::string& caminho) {
  const int fd = ::open(texto::CaminhoNativo(caminho).c_str(), O_RDONLY | O_CLOEXEC);
  struct stat estado {};
  if (fd < 0) return;
  if (::fstat(fd, &estado) != 0 || !S_ISREG(estado.st_mode)) {
    ::close(fd);
    return;
  }
  m_tamanho = static_cast<std::size_t>(estado.st_size);
  if (m_tamanho > 0) {
    void* dados = ::mmap(nullptr, m_tamanho, PROT_READ, MAP_PRIVATE, fd, 0);
    if (dados == MAP_FAILED) {
      ::close(fd);
      m_tamanho = 0;
      return;
    }
    ::madvise(dados, m_tamanho, MADV_SEQUENTIAL);
    m_dados = static_cast<const char*>(dados);
    m_mapeado = true;
  }
  m_fd = fd;
}

ArquivoMapeado::~ArquivoMapeado() {
  if (m_mapeado) ::munmap(const_cast<char*>(m_dados), m_tamanho);
  if (m_fd >= 0) ::close(m_fd);
}

}  // namespace qmx
