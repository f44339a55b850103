#include "cli/Apresentacao.h"

#include <cctype>
#include <cstdio>

#include "plataforma/mensagens/MensagemSistema.h"

namespace qmx::cli {

std::string DescreveResultado(std::uint32_t codigo) {
  char hexadecimal[16];
  std::snprintf(hexadecimal, sizeof hexadecimal, "0x%08X", codigo);
  std::string texto = qmx::mensagens::TextoErroSistema(codigo);
  // The data servers' own answer when they could not be started, which
  // the system's table of the library does not hold.
  if (texto.empty() && codigo == 0x800401F0u) texto = "CoInitialize não foi chamado.";
  if (texto.empty()) return std::string(hexadecimal) + " (falhou)";
  // On the same line as the code: small first letter, no final stop.
  if (!texto.empty() && texto.back() == '.') texto.pop_back();
  if (std::isupper(static_cast<unsigned char>(texto[0])) &&
      (texto.size() < 2 || !std::isupper(static_cast<unsigned char>(texto[1]))))
    texto[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(texto[0])));
  return std::string(hexadecimal) + " (" + texto + ")";
}

std::string FormataValor(std::int64_t decimosMilesimos) {
  // The magnitude as unsigned: the most negative amount has no positive.
  const bool negativo = decimosMilesimos < 0;
  const std::uint64_t magnitude =
      negativo ? 0 - static_cast<std::uint64_t>(decimosMilesimos) : static_cast<std::uint64_t>(decimosMilesimos);
  const std::string digitos = std::to_string(magnitude / 10000);
  std::string inteiro;
  for (std::size_t i = 0; i < digitos.size(); ++i) {
    if (i > 0 && (digitos.size() - i) % 3 == 0) inteiro += '.';
    inteiro += digitos[i];
  }
  char fracao[8];
  std::snprintf(fracao, sizeof fracao, "%04u", static_cast<unsigned>(magnitude % 10000));
  return (negativo ? "-" : "") + inteiro + "," + fracao;
}

std::string SemEscapes(const std::string& escapado) {
  std::string texto;
  for (std::size_t i = 0; i < escapado.size(); ++i) {
    if (escapado[i] != '\\' || i + 1 == escapado.size()) {
      texto += escapado[i];
      continue;
    }
    const char c = escapado[++i];
    texto += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
  }
  return texto;
}

std::string TextoParaOperador(const std::string& escapado) {
  // "\r\n", "\n\r", "\n" and "\r" are each one line break.
  const std::string comQuebras = SemEscapes(escapado);
  std::string texto;
  for (std::size_t i = 0; i < comQuebras.size(); ++i) {
    const char c = comQuebras[i];
    if (c != '\r' && c != '\n') {
      texto += c;
      continue;
    }
    if (i + 1 < comQuebras.size() && comQuebras[i + 1] == (c == '\r' ? '\n' : '\r')) ++i;
    texto += '\n';
  }
  // A path that starts at the root ("/home/...") keeps the system's
  // separator to the end of its line, so the operator can copy it.
  bool emCaminho = false;
  for (std::size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c == '\n') emCaminho = false;
    else if (c == '/' && (i == 0 || std::isspace(static_cast<unsigned char>(texto[i - 1])) ||
                          texto[i - 1] == '"' || texto[i - 1] == '(' || texto[i - 1] == ':'))
      emCaminho = true;
    else if (c == '\\' && emCaminho)
      texto[i] = '/';
  }
  return texto;
}

}  // namespace qmx::cli
