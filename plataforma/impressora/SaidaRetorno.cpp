#include "plataforma/impressora/SaidaRetorno.h"

#include <unistd.h>

#include <cstdio>

#include "plataforma/calendario/DataCodificada.h"

namespace qmx::impressora {

CSaidaRetorno::CSaidaRetorno(std::filesystem::path destino) : m_destino(std::move(destino)) {
  std::error_code erro;
  if (m_destino.has_parent_path()) std::filesystem::create_directories(m_destino.parent_path(), erro);
  m_temporario = m_destino.string() + ".tmp" + std::to_string(getpid());
  m_saida.open(m_temporario, std::ios::binary | std::ios::trunc);
}

CSaidaRetorno::~CSaidaRetorno() {
  if (m_concluido) return;
  m_saida.close();
  std::error_code erro;
  std::filesystem::remove(m_temporario, erro);
}

bool CSaidaRetorno::Conclui() {
  m_saida.flush();
  const bool escrito = static_cast<bool>(m_saida);
  m_saida.close();
  std::error_code erro;
  if (escrito) std::filesystem::rename(m_temporario, m_destino, erro);
  if (!escrito || erro) {
    std::filesystem::remove(m_temporario, erro);
    return false;
  }
  m_concluido = true;
  return true;
}

std::string CampoN(std::uint64_t valor, int largura) {
  std::string texto = std::to_string(valor);
  if (static_cast<int>(texto.size()) > largura) return texto.substr(texto.size() - static_cast<std::size_t>(largura));
  return std::string(static_cast<std::size_t>(largura) - texto.size(), '0') + texto;
}

std::string CampoX(const std::string& texto, int largura) {
  const auto n = static_cast<std::size_t>(largura);
  return texto.size() >= n ? texto.substr(0, n) : texto + std::string(n - texto.size(), ' ');
}

std::string CampoD(NumeroDia dia) { return DataInvertida(dia, true); }

std::string CampoValor(std::int64_t valor4, int largura, int decimais) {
  std::uint64_t absoluto = valor4 < 0 ? 0 - static_cast<std::uint64_t>(valor4) : static_cast<std::uint64_t>(valor4);
  for (int d = decimais; d < 4; ++d) absoluto /= 10;
  return CampoN(absoluto, largura);
}

}  // namespace qmx::impressora
