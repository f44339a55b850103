#include "arquivos/SaidaTemporaria.h"

#include <filesystem>

#include "plataforma/arquivos/ArquivoTemporario.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {

bool CSaidaTemporaria::Cria() {
  const auto pasta = ArquivoTemporario::Pasta();
  const auto caminho = pasta ? ArquivoTemporario::Cria(*pasta, "txt") : std::nullopt;
  if (!caminho) return false;
  m_caminho = *caminho;
  return m_arquivo.Abrir(m_caminho, CArquivoTexto::Modo::EscritaBinaria);
}

CSaidaTemporaria::~CSaidaTemporaria() {
  if (m_arquivo.EstaAberto()) m_arquivo.Abortar();
  if (m_mantem || m_caminho.empty()) return;
  std::error_code erro;
  std::filesystem::remove(texto::CaminhoNativo(m_caminho), erro);
}

}  // namespace qmx
