#include "apoio/PastaTemporaria.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace qmx::testes {

PastaTemporaria::PastaTemporaria() {
  std::random_device aleatorio;
  for (int tentativa = 0; tentativa < 100; ++tentativa) {
    auto candidato = std::filesystem::temp_directory_path() / ("qmx-teste-" + std::to_string(aleatorio()));
    if (std::filesystem::create_directory(candidato)) {
      m_caminho = candidato;
      return;
    }
  }
  throw std::runtime_error("não foi possível criar uma pasta temporária");
}

PastaTemporaria::~PastaTemporaria() {
  std::error_code erro;
  std::filesystem::remove_all(m_caminho, erro);
}

std::filesystem::path PastaTemporaria::Escreve(const std::string& nome, const std::string& conteudo) const {
  const auto caminho = m_caminho / nome;
  std::filesystem::create_directories(caminho.parent_path());
  std::ofstream(caminho, std::ios::binary | std::ios::trunc) << conteudo;
  return caminho;
}

std::string LeArquivo(const std::filesystem::path& caminho) {
  std::ifstream entrada(caminho, std::ios::binary);
  std::stringstream conteudo;
  conteudo << entrada.rdbuf();
  return conteudo.str();
}

}  // namespace qmx::testes
