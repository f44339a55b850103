#include "plataforma/arquivos/FaltaEspaco.h"

#include <cerrno>
#include <filesystem>

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

}  // namespace qmx
