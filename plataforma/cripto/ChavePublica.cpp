#include "plataforma/cripto/ChavePublica.h"

#include <cstdint>

namespace qmx::cripto {

namespace {

using Bytes = std::basic_string<unsigned char>;
using Vista = std::basic_string_view<unsigned char>;

std::optional<Bytes> Base64(std::string_view texto) {
  Bytes saida;
  std::uint32_t acumulado = 0;
  int bits = 0;
  for (char c : texto) {
    int valor;
    if (c >= 'A' && c <= 'Z') valor = c - 'A';
    else if (c >= 'a' && c <= 'z') valor = c - 'a' + 26;
    else if (c >= '0' && c <= '9') valor = c - '0' + 52;
    else if (c == '+') valor = 62;
    else if (c == '/') valor = 63;
    else if (c == '=' || c == '\r' || c == '\n' || c == ' ') continue;
    else return std::nullopt;
    acumulado = (acumulado << 6) | static_cast<std::uint32_t>(valor);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      saida += static_cast<unsigned char>(acumulado >> bits);
    }
  }
  return saida;
}

// One DER element of the expected tag: its content, and the rest after it.
std::optional<Vista> Elemento(Vista& der, unsigned char tag) {
  if (der.size() < 2 || der[0] != tag) return std::nullopt;
  std::size_t tamanho = der[1], cabecalho = 2;
  if (tamanho & 0x80) {
    const std::size_t octetos = tamanho & 0x7F;
    if (octetos == 0 || octetos > 4 || der.size() < 2 + octetos) return std::nullopt;
    tamanho = 0;
    for (std::size_t i = 0; i < octetos; ++i) tamanho = (tamanho << 8) | der[2 + i];
    cabecalho += octetos;
  }
  if (der.size() - cabecalho < tamanho) return std::nullopt;
  const Vista conteudo = der.substr(cabecalho, tamanho);
  der.remove_prefix(cabecalho + tamanho);
  return conteudo;
}

Bytes SemZerosAEsquerda(Vista inteiro) {
  while (inteiro.size() > 1 && inteiro[0] == 0) inteiro.remove_prefix(1);
  return Bytes(inteiro);
}

}  // namespace

std::optional<ChavePublicaRSA> LeChavePublicaPEM(std::string_view pem) {
  constexpr std::string_view kInicio = "-----BEGIN PUBLIC KEY-----", kFim = "-----END PUBLIC KEY-----";
  const auto inicio = pem.find(kInicio);
  const auto fim = pem.find(kFim);
  if (inicio == std::string_view::npos || fim == std::string_view::npos || fim < inicio) return std::nullopt;
  const auto der = Base64(pem.substr(inicio + kInicio.size(), fim - inicio - kInicio.size()));
  if (!der) return std::nullopt;
  // SEQUENCE { SEQUENCE { OID rsaEncryption, NULL }, BIT STRING { SEQUENCE { INTEGER n, INTEGER e } } }
  static constexpr unsigned char kRSA[] = {0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x01, 0x01};
  Vista resto(*der);
  auto info = Elemento(resto, 0x30);
  if (!info) return std::nullopt;
  auto algoritmo = Elemento(*info, 0x30);
  if (!algoritmo) return std::nullopt;
  const auto oid = Elemento(*algoritmo, 0x06);
  if (!oid || *oid != Vista(kRSA, sizeof kRSA)) return std::nullopt;
  auto bits = Elemento(*info, 0x03);
  if (!bits || bits->empty() || (*bits)[0] != 0) return std::nullopt;
  bits->remove_prefix(1);
  auto chave = Elemento(*bits, 0x30);
  if (!chave) return std::nullopt;
  const auto modulo = Elemento(*chave, 0x02);
  const auto expoente = modulo ? Elemento(*chave, 0x02) : std::nullopt;
  if (!modulo || !expoente) return std::nullopt;
  return ChavePublicaRSA{SemZerosAEsquerda(*modulo), SemZerosAEsquerda(*expoente)};
}

}  // namespace qmx::cripto
