#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace qmx::cripto {

// The cryptography the library needs from its platform: MD5 digests, the raw
// RSA private operation of the EAD signature, PBKDF2 for stored passwords and
// random bytes. On Linux OpenSSL does the work, on Windows the system's CNG.

using DigestMD5 = std::array<unsigned char, 16>;

// MD5 of data given in pieces.
class MD5 {
 public:
  MD5();
  ~MD5();
  MD5(const MD5&) = delete;
  MD5& operator=(const MD5&) = delete;

  // False once any step failed; the digest is then never produced.
  bool Acrescenta(const void* dados, std::size_t tamanho);
  std::optional<DigestMD5> Finaliza();

 private:
  struct Estado;
  std::unique_ptr<Estado> m_estado;
};

std::optional<DigestMD5> CalculaMD5(const void* dados, std::size_t tamanho);

// The parts of an RSA private key, big-endian, in the sizes the key has.
struct PartesRSA {
  std::basic_string_view<unsigned char> modulo, expoentePublico, expoentePrivado, primo1, primo2, expoente1,
      expoente2, coeficiente;
};

// block^d mod n with no padding; the block is as long as the modulus and the
// result too. Nothing when the key or the operation is refused.
std::optional<std::vector<unsigned char>> PrivadaSemPreenchimento(const PartesRSA& chave,
                                                                  std::basic_string_view<unsigned char> bloco);

// block^e mod n with no padding (checking a signature with the public half).
std::optional<std::vector<unsigned char>> PublicaSemPreenchimento(std::basic_string_view<unsigned char> modulo,
                                                                 std::basic_string_view<unsigned char> expoente,
                                                                 std::basic_string_view<unsigned char> bloco);

// PBKDF2 with HMAC-SHA-256.
bool PBKDF2SHA256(std::string_view senha, std::string_view sal, unsigned iteracoes, unsigned char* saida,
                  std::size_t tamanho);

// Bytes from the system's cryptographic generator.
bool BytesAleatorios(unsigned char* saida, std::size_t tamanho);

// Overwrites memory in a way the compiler cannot drop.
void LimpaMemoria(void* dados, std::size_t tamanho);

// Compares in a time that does not depend on where the bytes differ.
bool IguaisEmTempoConstante(const void* a, const void* b, std::size_t tamanho);

}  // namespace qmx::cripto
