#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qmx {

// A regular file mapped read-only into memory for the life of the object:
// large generated files are digested and copied without a copy in user
// memory. Paths are the library's (Windows-1252, "\" allowed).
class ArquivoMapeado {
 public:
  explicit ArquivoMapeado(const std::string& caminho);
  ~ArquivoMapeado();
  ArquivoMapeado(const ArquivoMapeado&) = delete;
  ArquivoMapeado& operator=(const ArquivoMapeado&) = delete;

  bool Aberto() const { return m_fd >= 0; }
  int Descritor() const { return m_fd; }
  std::string_view Conteudo() const { return {m_dados, m_tamanho}; }

 private:
  int m_fd = -1;
  const char* m_dados = "";
  std::size_t m_tamanho = 0;
  bool m_mapeado = false;
};

}  // namespace qmx
