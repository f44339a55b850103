#include "plataforma/arquivos/FaltaEspaco.h"

#include <cerrno>
#include <filesystem>

#include "plataforma/arquivos/Descritores.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {

std::string TextoFaltaEspaco(int erro, const std::string& arquivo) {
#if defined(EDQUOT)
  const bool cota = erro == EDQUOT;
#else
  const bool cota = false;
#endif
  if (erro != ENOSPC && erro != EFBIG && !cota) return {};
  const std::size_t barra = arquivo.find_last_of("\\/");
  const std::string pasta = barra == std::string::npos ? std::string(".") : arquivo.substr(0, barra);
  if (erro == EFBIG) return "\r\nO arquivo passou do tamanho que o sistema permite na pasta " + pasta + ".";
  std::error_code falhou;
  const auto espaco = std::filesystem::space(texto::CaminhoNativo(pasta), falhou);
  return "\r\nFalta espaço na pasta " + pasta +
         (falhou ? std::string(".") : ": restam " + std::to_string(espaco.available) + " bytes livres.");
}

std::string TextoFaltaEspaco(const CExcecaoArquivo& falha) {
  if (falha.GetCausa() != CExcecaoArquivo::discoCheio) return {};
  return TextoFaltaEspaco(falha.GetErroSistema() ? falha.GetErroSistema() : ENOSPC, falha.GetArquivo());
}

std::string CausaDaFalha(int erro, const std::string& arquivo) {
  const std::string nativo = texto::CaminhoNativo(arquivo);
  const std::size_t barra = nativo.find_last_of(descritores::kSeparadores);
  const std::string pasta = barra == std::string::npos ? std::string(".") : nativo.substr(0, barra);
  const std::string falta = TextoFaltaEspaco(erro, arquivo);
  if (!falta.empty()) return falta.substr(2);
  switch (erro) {
    case EACCES:
    case EPERM: return "Sem permissão para gravar na pasta " + pasta + ".";
    case EROFS: return "A pasta " + pasta + " está num disco só de leitura.";
    case ENOENT: return "A pasta " + pasta + " não existe.";
    case ENOTDIR: return "Parte do caminho " + pasta + " não é uma pasta.";
    case EISDIR: return nativo + " é uma pasta.";
    case ENAMETOOLONG: return "O caminho " + nativo + " é longo demais.";
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EAGAIN:
#if defined(ETXTBSY)
    case ETXTBSY:
#endif
    case EBUSY: return "O arquivo " + nativo + " está em uso por outro programa.";
    case EIO: return "Erro de leitura ou gravação no disco da pasta " + pasta + ".";
    case EMFILE:
    case ENFILE: return "Arquivos abertos demais neste computador.";
    default: return "Erro " + std::to_string(erro) + " do sistema ao gravar " + nativo + ".";
  }
}

std::string CausaDaFalha(const CExcecaoArquivo& falha) {
  if (falha.GetErroSistema()) return CausaDaFalha(falha.GetErroSistema(), falha.GetArquivo());
  switch (falha.GetCausa()) {
    case CExcecaoArquivo::discoCheio: return CausaDaFalha(ENOSPC, falha.GetArquivo());
    case CExcecaoArquivo::acessoNegado: return CausaDaFalha(EACCES, falha.GetArquivo());
    case CExcecaoArquivo::violacaoCompartilhamento: return CausaDaFalha(EWOULDBLOCK, falha.GetArquivo());
    case CExcecaoArquivo::arquivoNaoEncontrado: return CausaDaFalha(ENOENT, falha.GetArquivo());
    default: return CausaDaFalha(EIO, falha.GetArquivo());
  }
}

}  // namespace qmx
