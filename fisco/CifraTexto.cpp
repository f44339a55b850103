#include "fisco/CifraTexto.h"

#include "plataforma/texto/Hexadecimal.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qmx {
namespace {

// Reads a signed 64-bit decimal the way the C run-time does: leading blanks,
// an optional sign, digits up to the first other character; nothing read
// gives 0. Values beyond the range are clamped.
std::int64_t LeInt64(const char* texto) {
  if (!texto) return 0;
  errno = 0;
  const long long valor = std::strtoll(texto, nullptr, 10);
  return static_cast<std::int64_t>(valor);
}

}  // namespace

CifraTexto::CifraTexto(std::int32_t semente, std::int32_t numeroDeslocamento)
    : m_deslocamento(static_cast<std::uint16_t>(numeroDeslocamento) % 500) {
  unsigned valor = static_cast<std::uint16_t>(semente);
  for (int i = 0; i < 128; ++i) {
    m_tabela[i] = static_cast<unsigned char>(valor);
    valor = (valor * 13 + 27) % 256;
  }
}

unsigned char CifraTexto::ByteChave(int posicao) const { return m_tabela[(m_deslocamento + posicao) % 128]; }

void CifraTexto::Cifra(unsigned char* dados, int tamanho) const {
  for (int j = 0; j < tamanho; ++j) dados[j] = static_cast<unsigned char>(dados[j] + ByteChave(j));
  for (int j = 0; j < tamanho; ++j) dados[j] = static_cast<unsigned char>(dados[j] ^ ByteChave(j));
}

void CifraTexto::Decifra(unsigned char* dados, int tamanho) const {
  for (int j = 0; j < tamanho; ++j) dados[j] = static_cast<unsigned char>(dados[j] ^ ByteChave(j));
  for (int j = 0; j < tamanho; ++j) dados[j] = static_cast<unsigned char>(dados[j] - ByteChave(j));
}

std::string CifraTexto::CifraParaHex(const std::string& texto) const {
  unsigned char buffer[kTamanhoMaximo + 1] = {};
  const size_t tamanho = std::min(std::strlen(texto.c_str()), static_cast<size_t>(kTamanhoMaximo));
  std::memcpy(buffer, texto.data(), tamanho);
  Cifra(buffer, static_cast<int>(tamanho));
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (size_t i = 0; i < tamanho && buffer[i] != 0; ++i) {
    hex += kHex[buffer[i] >> 4];
    hex += kHex[buffer[i] & 0xF];
  }
  return hex;
}

std::string CifraTexto::DecifraDeHex(const std::string& hex) const {
  std::string bytes;
  int alto = -1;
  for (char c : hex) {
    const int valor = texto::ValorHex(c);
    if (valor < 0) continue;
    if (alto < 0) {
      alto = valor;
    } else {
      bytes += static_cast<char>(alto * 16 + valor);
      alto = -1;
    }
  }
  Decifra(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  return std::string(bytes.c_str());
}

std::string CifraTexto::MontaSenha(std::uint16_t semente, std::uint16_t numeroDeslocamento, int r) {
  const std::uint64_t alto = static_cast<std::uint64_t>(r & 31) << 32;
  const std::uint64_t par = (r % 2 == 0) ? (std::uint64_t{semente} << 16) | numeroDeslocamento
                                         : (std::uint64_t{numeroDeslocamento} << 16) | semente;
  return std::to_string(static_cast<std::int64_t>(alto | par));
}

void CifraTexto::DesmontaSenha(const char* senha, std::uint16_t& semente, std::uint16_t& numeroDeslocamento) {
  const auto valor = static_cast<std::uint64_t>(LeInt64(senha));
  const auto alta = static_cast<std::uint16_t>(valor >> 16);
  const auto baixa = static_cast<std::uint16_t>(valor);
  if (((valor >> 32) & 1) == 0) {
    semente = alta;
    numeroDeslocamento = baixa;
  } else {
    semente = baixa;
    numeroDeslocamento = alta;
  }
}

void CriptografarTextoInterno(char* buffer, int tamanho, unsigned char chave) {
  if (!buffer || tamanho < 1) return;
  for (int i = tamanho - 1; i >= 0; --i)
    if (buffer[i] != 0) buffer[i] = static_cast<char>(static_cast<unsigned char>(buffer[i]) ^ chave);
}

}  // namespace qmx
