#pragma once

#include <cstdint>
#include <string>

namespace qmx {

// The keyed byte cipher that the point-of-sale program uses for values it
// keeps enciphered (a text and an amount), its key packing, and the one-byte
// XOR of buffers.
//
// The key is a seed (only its low 16 bits matter) and an offset number
// (taken modulo 500). Its key stream is 128 values: t[0] is the seed's low
// 16 bits, t[i+1] = (t[i] * 13 + 27) mod 256; the key byte of position j is
// the low byte of t[(offset + j) mod 128].
class CifraTexto {
 public:
  // Longest text or amount text taken; longer ones are cut.
  static constexpr int kTamanhoMaximo = 99;

  CifraTexto(std::int32_t semente, std::int32_t numeroDeslocamento);

  // In place, n bytes: add the key byte, then XOR it.
  void Cifra(unsigned char* dados, int tamanho) const;
  // In place, n bytes: XOR the key byte, then subtract it.
  void Decifra(unsigned char* dados, int tamanho) const;

  // Enciphers a text (cut to 99 bytes) and returns its hexadecimal form:
  // two capital digits per byte, ending at the first zero byte.
  std::string CifraParaHex(const std::string& texto) const;
  // Turns a hexadecimal text into bytes (characters that are not hexadecimal
  // digits count as nothing), deciphers them, and returns the text up to its
  // first zero byte.
  std::string DecifraDeHex(const std::string& hex) const;

  // The packed key: a decimal 64-bit number whose bits 32..63 hold r (0..31);
  // with r even, bits 16..31 hold the seed and 0..15 the offset number,
  // swapped when r is odd.
  static std::string MontaSenha(std::uint16_t semente, std::uint16_t numeroDeslocamento, int r);
  // Unpacks a packed key. A text that is not a number unpacks as 0.
  static void DesmontaSenha(const char* senha, std::uint16_t& semente, std::uint16_t& numeroDeslocamento);

 private:
  unsigned char ByteChave(int posicao) const;

  unsigned char m_tabela[128];
  int m_deslocamento;
};

// XORs each byte of the buffer with the key byte, from the last to the first,
// leaving zero bytes as they are. A null buffer or a length below 1 does
// nothing.
void CriptografarTextoInterno(char* buffer, int tamanho, unsigned char chave);

}  // namespace qmx
