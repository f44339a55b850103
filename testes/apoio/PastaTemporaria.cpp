#include "apoio/PastaTemporaria.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace qmx::testes {

PastaTemporaria::PastaTemporaria() {
  // A new folder of a random name: creating it is what claims the name.
  static constexpr char kLetras[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device aleatorio;
  const auto base = std::filesystem::temp_directory_path();
  for (int tentativa = 0; tentativa < 100; ++tentativa) {
    std::string nome = "qmx-teste-";
    for (int i = 0; i < 8; ++i) nome += kLetras[aleatorio() % (sizeof kLetras - 1)];
    if (std::filesystem::create_directory(base / nome)) {
      m_pasta = base / nome;
      return;
    }
  }
  throw std::runtime_error("sem pasta temporária");
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
