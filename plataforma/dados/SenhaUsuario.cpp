#include "plataforma/dados/SenhaUsuario.h"

#include "plataforma/cripto/Cripto.h"

#include <stdexcept>
#include <vector>

namespace qmx::dados {

namespace {

constexpr int kBytesSal = 16;
constexpr int kBytesHash = 32;

std::string Hexadecimal(const unsigned char* bytes, std::size_t tamanho) {
  static const char kDigitos[] = "0123456789abcdef";
  std::string texto;
  texto.reserve(tamanho * 2);
  for (std::size_t i = 0; i < tamanho; ++i) {
    texto += kDigitos[bytes[i] >> 4];
    texto += kDigitos[bytes[i] & 15];
  }
  return texto;
}

std::vector<unsigned char> Deriva(const std::string& senha, const std::string& sal, int iteracoes) {
  std::vector<unsigned char> hash(kBytesHash);
  if (iteracoes <= 0 || !cripto::PBKDF2SHA256(senha, sal, static_cast<unsigned>(iteracoes), hash.data(), hash.size()))
    throw std::runtime_error("PBKDF2 falhou");
  return hash;
}

}  // namespace

SenhaGuardada GuardaSenha(const std::string& senha, int iteracoes) {
  unsigned char sal[kBytesSal];
  if (!cripto::BytesAleatorios(sal, sizeof sal)) throw std::runtime_error("sem bytes aleatórios para o sal");
  SenhaGuardada guardada;
  guardada.sal = Hexadecimal(sal, sizeof sal);
  guardada.iteracoes = iteracoes;
  const auto hash = Deriva(senha, guardada.sal, iteracoes);
  guardada.hash = Hexadecimal(hash.data(), hash.size());
  return guardada;
}

bool ConfereSenha(const std::string& senha, const SenhaGuardada& guardada) {
  if (guardada.iteracoes <= 0 || guardada.sal.empty() || guardada.hash.size() != kBytesHash * 2) return false;
  const auto hash = Deriva(senha, guardada.sal, guardada.iteracoes);
  const std::string texto = Hexadecimal(hash.data(), hash.size());
  return cripto::IguaisEmTempoConstante(texto.data(), guardada.hash.data(), texto.size());
}

}  // namespace qmx::dados
