#include "frame/ZTException.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "frame/TabelaSistemas.h"
#include "plataforma/mensagens/CatalogoMensagens.h"
#include "plataforma/mensagens/MensagemSistema.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"

const CRuntimeClass CZTException::classCZTException = {"CZTException", &CExcecaoFramework::classCExcecaoFramework};

CZTException::CZTException(std::uint32_t nMensagem, std::uint32_t nModulo, std::uint32_t nErroSistema)
    : m_nMensagem(nMensagem), m_nModulo(nModulo), m_nErroSistema(nErroSistema) {}

CZTException::CZTException(const std::string& strMensagem, std::uint32_t nModulo, std::uint32_t nErroSistema)
    : m_nMensagem(0), m_nModulo(nModulo), m_nErroSistema(nErroSistema), m_strMensagem(strMensagem) {}

CZTException::~CZTException() = default;

const CRuntimeClass* CZTException::GetRuntimeClass() const { return &classCZTException; }

std::string CZTException::MontaTexto(bool avisaCatalogo) const {
  std::string texto = m_strMensagem;
  if (texto.empty()) {
    if (const qmx::SistemaZT* sistema = qmx::CTabelaSistemas::PorIndice(m_nModulo)) {
      const auto leitura = qmx::mensagens::CCatalogoMensagens::Le(sistema->modulo, m_nMensagem);
      if (!leitura.aberto && avisaCatalogo) qmx::mensagens::AvisaCatalogoInacessivel(leitura.caminho);
      texto = leitura.texto;
    }
  }
  char linha[512];
  if (texto.empty()) {
    // The number is shown as a signed 32-bit value, as the format reads it.
    std::snprintf(linha, sizeof linha, "Erro desconhecido encontrado. Código (%d)", static_cast<int>(m_nMensagem));
    texto = linha;
  }
  if (m_nErroSistema != 0) {
    const std::string sistema = qmx::mensagens::TextoErroSistema(m_nErroSistema);
    std::snprintf(linha, sizeof linha, "\nErro do SO: %d - %s", static_cast<int>(m_nErroSistema), sistema.c_str());
    texto += linha;
  }
  return texto;
}

std::string CZTException::GetTextoMensagem() const { return MontaTexto(true); }

bool CZTException::GetErrorMessage(char* texto, unsigned tamanho, unsigned* contextoAjuda) const {
  if (contextoAjuda) *contextoAjuda = 0;
  const std::string mensagem = GetTextoMensagem();
  if (texto && tamanho > 0) {
    const std::size_t copia = std::min<std::size_t>(mensagem.size(), tamanho - 1);
    std::memcpy(texto, mensagem.data(), copia);
    texto[copia] = '\0';
  }
  return !mensagem.empty();
}

int CZTException::ReportError(unsigned flags, unsigned) const {
  // Bits 16, 32 and 64 carry the icon (48 is the exclamation).
  constexpr unsigned kBitsIcone = 0x10 | 0x20 | 0x40;
  if ((flags & kBitsIcone) == 0) flags |= qmx::ui::MB_ICONEXCLAMATION;
  // The box belongs to the host's main window; the host places it.
  return qmx::ui::CaixaMensagem(GetTextoMensagem(), qmx::CTabelaSistemas::Titulo(m_nModulo), flags);
}

const char* CZTException::what() const noexcept {
  try {
    if (m_strWhat.empty()) m_strWhat = MontaTexto(false);
    return m_strWhat.c_str();
  } catch (...) {
    return "CZTException";
  }
}
