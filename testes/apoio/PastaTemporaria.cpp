#include "apoio/PastaTemporaria.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qmx::testes {

PastaTemporaria::PastaTemporaria() {
  std::string modelo = (std::filesystem::temp_directory_path() / "qmx-teste-XXXXXX").string();
  if (::mkdtemp(modelo.data()) == nullptr) throw std::runtime_error("mkdtemp falhou");
  m_pasta = modelo;
}

PastaTemporaria::~PastaTemporaria() {
  std::error_code erro;
  std::filesystem::remove_all(m_pasta, erro);
}

std::string PastaTemporaria::Grava(const std::string& nome, const std::string& bytes) const {
  const auto caminho = m_pasta / nome;
  std::filesystem::create_directories(caminho.parent_path());
  std::ofstream(caminho, std::ios::binary | std::ios::trunc) << bytes;
  return caminho.string();
}

std::string PastaTemporaria::Le(const std::string& caminho) {
  std::ifstream arquivo(caminho, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(arquivo), {});
}

long PastaTemporaria::Entradas() const {
  return static_cast<long>(std::distance(std::filesystem::directory_iterator(m_pasta), {}));
}

}  // namespace qmx::testes
