#pragma once

#include <filesystem>
#include <string>

namespace qmx::testes {

// A folder of its own for one test, removed with everything in it at the end.
class PastaTemporaria {
 public:
  PastaTemporaria();
  ~PastaTemporaria();
  PastaTemporaria(const PastaTemporaria&) = delete;
  PastaTemporaria& operator=(const PastaTemporaria&) = delete;

  const std::filesystem::path& Caminho() const { return m_caminho; }
  std::filesystem::path operator/(const std::string& nome) const { return m_caminho / nome; }
  // Writes a file (bytes as given) and returns its path.
  std::filesystem::path Escreve(const std::string& nome, const std::string& conteudo) const;

 private:
  std::filesystem::path m_caminho;
};

std::string LeArquivo(const std::filesystem::path& caminho);

}  // namespace qmx::testes
