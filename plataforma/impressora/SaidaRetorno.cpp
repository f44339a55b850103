#include "plataforma/impressora/SaidaRetorno.h"

#include <cerrno>
#include <cstdio>

#include "plataforma/arquivos/Descritores.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/ui/HostUI.h"

namespace qmx::impressora {

CSaidaRetorno::CSaidaRetorno(std::filesystem::path destino) : m_destino(descritores::Nome(destino)) {
  std::error_code erro;
  if (destino.has_parent_path()) std::filesystem::create_directories(destino.parent_path(), erro);
  m_falhou = !m_temporario.Cria(m_destino);
  if (m_falhou) m_erro = errno;
}

void CSaidaRetorno::Escreve(const std::string& texto) {
  m_buffer += texto;
  if (m_buffer.size() >= (1u << 16)) m_falhou = !Descarrega() || m_falhou;
}

bool CSaidaRetorno::Descarrega() {
  const bool escrito =
      m_temporario.Descritor() >= 0 && GravacaoAtomica::EscreveTudo(m_temporario.Descritor(), m_buffer.data(), m_buffer.size());
  if (!escrito && m_erro == 0) m_erro = errno;
  m_buffer.clear();
  return escrito;
}

bool CSaidaRetorno::Conclui() {
  if (!m_falhou && Descarrega() && m_temporario.Conclui()) return true;
  if (m_erro == 0) m_erro = errno;
  m_temporario.Descarta();
  if (const std::string falta = TextoFaltaEspaco(m_erro, m_destino); !falta.empty())
    ui::CaixaMensagem("Não foi possível gravar o retorno da impressora\r\n" + m_destino + falta, "Impressora Fiscal",
                      ui::MB_OK | ui::MB_ICONEXCLAMATION);
  return false;
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
