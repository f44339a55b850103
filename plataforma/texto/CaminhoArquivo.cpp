#include "plataforma/texto/CaminhoArquivo.h"

#include <cstring>
#include <stdexcept>

#include "plataforma/texto/Windows1252.h"

namespace qmx::texto {

std::string CaminhoNativo(const std::string& caminho) {
#if defined(_WIN32)
  // Windows takes the library's paths as they are: Windows-1252 is its ANSI
  // code page here, and "\" its separator.
  return caminho;
#endif
  std::string nativo = ParaUtf8(caminho);
  for (char& c : nativo)
    if (c == '\\') c = '/';
  return nativo;
}

std::string CaminhoWindows(const std::string& caminhoNativo) {
  std::string caminho = DeUtf8OuLatin(caminhoNativo);
  for (char& c : caminho)
    if (c == '/') c = '\\';
  return caminho;
}

std::string CaminhoDaBiblioteca(const std::string& caminhoNativo) {
#if defined(_WIN32)
  // The system's narrow paths are in its ANSI code page, Windows-1252 here.
  return caminhoNativo;
#endif
  if (auto caminho = DeUtf8Exato(caminhoNativo)) return *caminho;
  throw std::invalid_argument("o caminho " + DeUtf8(caminhoNativo) +
                              " tem caracteres que o Windows-1252 não representa; use outra pasta");
}

std::string NomeArquivoSeguro(const std::string& nome) {
  std::string seguro = nome;
  for (char& c : seguro) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || std::strchr("<>:\"/\\|?*", c)) c = '_';
  }
  return seguro;
}

}  // namespace qmx::texto
