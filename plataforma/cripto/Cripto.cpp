#include "plataforma/cripto/Cripto.h"

namespace qmx::cripto {

std::optional<DigestMD5> CalculaMD5(const void* dados, std::size_t tamanho) {
  MD5 md5;
  if (!md5.Acrescenta(dados, tamanho)) return std::nullopt;
  return md5.Finaliza();
}

void LimpaMemoria(void* dados, std::size_t tamanho) {
  volatile unsigned char* p = static_cast<volatile unsigned char*>(dados);
  while (tamanho--) *p++ = 0;
}

bool IguaisEmTempoConstante(const void* a, const void* b, std::size_t tamanho) {
  const auto* x = static_cast<const volatile unsigned char*>(a);
  const auto* y = static_cast<const volatile unsigned char*>(b);
  unsigned char diferenca = 0;
  for (std::size_t i = 0; i < tamanho; ++i) diferenca |= static_cast<unsigned char>(x[i] ^ y[i]);
  return diferenca == 0;
}

}  // namespace qmx::cripto
