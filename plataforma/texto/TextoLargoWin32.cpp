#include "plataforma/texto/TextoLargo.h"

#include <windows.h>

namespace qmx::texto {

std::wstring Largo(const std::string& texto, unsigned paginaCodigo) {
  if (texto.empty()) return {};
  const int tamanho = MultiByteToWideChar(paginaCodigo, 0, texto.data(), static_cast<int>(texto.size()), nullptr, 0);
  std::wstring largo(static_cast<std::size_t>(tamanho), L'\0');
  MultiByteToWideChar(paginaCodigo, 0, texto.data(), static_cast<int>(texto.size()), largo.data(), tamanho);
  return largo;
}

std::string Estreito(const std::wstring& largo) {
  if (largo.empty()) return {};
  const int tamanho =
      WideCharToMultiByte(1252, 0, largo.data(), static_cast<int>(largo.size()), nullptr, 0, nullptr, nullptr);
  std::string texto(static_cast<std::size_t>(tamanho), '\0');
  WideCharToMultiByte(1252, 0, largo.data(), static_cast<int>(largo.size()), texto.data(), tamanho, nullptr, nullptr);
  return texto;
}

}  // namespace qmx::texto
