#include "plataforma/texto/CaminhoArquivo.h"

#include <cstring>

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

std::string NomeArquivoSeguro(const std::string& nome) {
  std::string seguro = nome;
  for (char& c : seguro) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || std::strchr("<>:\"/\\|?*", c)) c = '_';
  }
  return seguro;
}

}  // namespace qmx::texto
