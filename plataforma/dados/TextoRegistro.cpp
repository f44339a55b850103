#include "plataforma/dados/TextoRegistro.h"

#include "plataforma/texto/Windows1252.h"

namespace qmx::dados {

void CopiaTexto(char* destino, std::size_t tamanho, std::string_view utf8) {
  if (tamanho == 0) return;
  // Most texts are plain ASCII, the same bytes in both encodings: copied
  // as they are, without a conversion (the walks of a month copy millions).
  const std::size_t cabe = utf8.size() < tamanho - 1 ? utf8.size() : tamanho - 1;
  std::size_t ascii = 0;
  while (ascii < cabe && static_cast<unsigned char>(utf8[ascii]) < 0x80) ++ascii;
  if (ascii == cabe) {
    std::memcpy(destino, utf8.data(), cabe);
    std::memset(destino + cabe, 0, tamanho - cabe);
    return;
  }
  std::memcpy(destino, utf8.data(), ascii);
  const std::size_t n = ascii + texto::DeUtf8Em(utf8.substr(ascii), destino + ascii, tamanho - 1 - ascii);
  std::memset(destino + n, 0, tamanho - n);
}

std::string TextoParaBase(const char* texto, std::size_t tamanho) {
  return texto::ParaUtf8(std::string_view(texto, strnlen(texto, tamanho)));
}

std::string DeTextoLargo(const wchar_t* texto) {
  std::string utf8;
  for (const wchar_t* c = texto; c && *c; ++c) {
    const auto ponto = static_cast<std::uint32_t>(*c);
    if (ponto < 0x80) {
      utf8 += static_cast<char>(ponto);
    } else if (ponto < 0x800) {
      utf8 += static_cast<char>(0xC0 | (ponto >> 6));
      utf8 += static_cast<char>(0x80 | (ponto & 0x3F));
    } else if (ponto < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (ponto >> 12));
      utf8 += static_cast<char>(0x80 | ((ponto >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (ponto & 0x3F));
    } else {
      utf8 += '?';
    }
  }
  return texto::DeUtf8(utf8);
}

wchar_t* AlocaTextoLargo(std::string_view cp1252) {
  // Through UTF-8, so the bytes 0x80..0x9F get their Windows-1252 characters.
  const std::string utf8 = texto::ParaUtf8(cp1252);
  auto* saida = new wchar_t[utf8.size() + 1];
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    char32_t ponto;
    int extra;
    if (c < 0x80) ponto = c, extra = 0;
    else if (c < 0xE0) ponto = c & 0x1F, extra = 1;
    else if (c < 0xF0) ponto = c & 0x0F, extra = 2;
    else ponto = c & 0x07, extra = 3;
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
      ponto = (ponto << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    saida[n++] = static_cast<wchar_t>(ponto);
  }
  saida[n] = L'\0';
  return saida;
}

void LiberaTextoLargo(wchar_t* texto) { delete[] texto; }

}  // namespace qmx::dados
