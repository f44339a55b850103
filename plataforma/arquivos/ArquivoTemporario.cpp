#include "plataforma/arquivos/ArquivoTemporario.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include "plataforma/arquivos/Descritores.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {

std::optional<std::string> ArquivoTemporario::Pasta() {
  std::error_code erro;
  const auto pasta = std::filesystem::temp_directory_path(erro);
  if (erro) return std::nullopt;
  // A folder the library's texts cannot name (a character outside the
  // system's code page) is no folder for it.
  const auto nativo = descritores::NomeExato(pasta);
  if (!nativo) return std::nullopt;
  std::string caminho = texto::CaminhoWindows(*nativo);
  if (caminho.empty() || caminho.back() != '\\') caminho += '\\';
  if (caminho.size() > 260) return std::nullopt;
  return caminho;
}

std::optional<std::string> ArquivoTemporario::Cria(const std::string& pasta, const std::string& prefixo) {
  std::random_device aleatorio;
  const unsigned inicio = aleatorio() & 0xFFFFu;
  for (unsigned tentativa = 0; tentativa < 0x10000u; ++tentativa) {
    const unsigned numero = (inicio + tentativa) & 0xFFFFu;
    if (numero == 0) continue;
    char nome[32];
    std::snprintf(nome, sizeof nome, "%.3s%X.tmp", prefixo.c_str(), numero);
    const std::string caminho = pasta + nome;
    const int fd = descritores::Abre(texto::CaminhoNativo(caminho).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      return caminho;
    }
    if (errno != EEXIST) return std::nullopt;  // the folder cannot be written
  }
  return std::nullopt;
}

}  // namespace qmx
