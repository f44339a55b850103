#include "integracao/LogIntegracao.h"

#include <cerrno>
#include <cstdio>

#include "frame/RelogioBiblioteca.h"
#include "plataforma/arquivos/Descritores.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {

namespace {

// How long the operator's box stays up, as the printer layer counts it.
constexpr unsigned short kTempoMensagem = 2000;

std::string CaminhoDoLog(const std::string& nome) {
  std::string nativo = texto::CaminhoNativo(nome);
  struct stat info {};
  if (::stat(nativo.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    if (!nativo.empty() && nativo.back() != '/') nativo += '/';
    nativo += "QMXIntegracao.log";
  }
  return nativo;
}

bool EscreveTudo(int arquivo, const std::string& linha) {
  // O_APPEND places every write at the end atomically; a line is one write.
  const ssize_t escrito = ::write(arquivo, linha.data(), linha.size());
  return escrito == static_cast<ssize_t>(linha.size());
}

}  // namespace

std::string CLogIntegracao::Linha(const std::string& texto) {
  const SYSTEMTIME agora = CQMXRelogio::PegaHoraLocal();
  char inicio[64];
  std::snprintf(inicio, sizeof inicio, "%02d/%02d/%02d %02d:%02d:%02d ", agora.wDay, agora.wMonth,
                agora.wYear % 100, agora.wHour, agora.wMinute, agora.wSecond);
  return inicio + texto + "\r\n";
}

bool CLogIntegracao::Escreve(const std::string& texto) const {
  if (m_strArquivoLog.empty()) {
    impressora::ExibeMensagem(texto, kTempoMensagem);
    return true;
  }
  const std::string caminho = CaminhoDoLog(m_strArquivoLog);
  const int arquivo = descritores::Abre(caminho.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  bool escrito = false;
  if (arquivo >= 0) {
    escrito = EscreveTudo(arquivo, Linha(texto));
    ::close(arquivo);
  }
  if (!escrito) impressora::ExibeMensagem(texto, kTempoMensagem);
  return escrito;
}

}  // namespace qmx
