#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apoio/PastaTemporaria.h"
#include "plataforma/cripto/ChavePublica.h"
#include "plataforma/cripto/Cripto.h"
#include "plataforma/cripto/ExponenciacaoModular.h"

using qmx::cripto::ExponenciacaoModular;
using Bytes = std::basic_string<unsigned char>;

namespace {

Bytes Numero(std::initializer_list<unsigned char> bytes) { return Bytes(bytes); }

std::vector<unsigned char> Vetor(std::initializer_list<unsigned char> bytes) { return {bytes}; }

TEST(ExponenciacaoModular, PequenosComResultadoConhecido) {
  // n = 61 * 53 = 3233 (0x0CA1), e = 17, d = 2753 (0x0AC1): 65 -> 2790 (0x0AE6) -> 65.
  const Bytes n = Numero({0x0C, 0xA1});
  EXPECT_EQ(ExponenciacaoModular(Numero({65}), Numero({17}), n), Vetor({0x0A, 0xE6}));
  EXPECT_EQ(ExponenciacaoModular(Numero({0x0A, 0xE6}), Numero({0x0A, 0xC1}), n), Vetor({0x00, 65}));
  // Zero exponent, zero and one as bases, n - 1 to an odd power.
  EXPECT_EQ(ExponenciacaoModular(Numero({7}), Numero({0}), n), Vetor({0x00, 0x01}));
  EXPECT_EQ(ExponenciacaoModular(Numero({0}), Numero({17}), n), Vetor({0x00, 0x00}));
  EXPECT_EQ(ExponenciacaoModular(Numero({1}), Numero({0x0A, 0xC1}), n), Vetor({0x00, 0x01}));
  EXPECT_EQ(ExponenciacaoModular(Numero({0x0C, 0xA0}), Numero({17}), n), Vetor({0x0C, 0xA0}));
  // Leading zero bytes of the base or the modulus change nothing.
  EXPECT_EQ(ExponenciacaoModular(Numero({0, 0, 65}), Numero({17}), Numero({0, 0x0C, 0xA1})), Vetor({0x0A, 0xE6}));
}

TEST(ExponenciacaoModular, BaseForaDoModuloOuModuloParRecusados) {
  EXPECT_FALSE(ExponenciacaoModular(Numero({0x0C, 0xA1}), Numero({17}), Numero({0x0C, 0xA1})));
  EXPECT_FALSE(ExponenciacaoModular(Numero({0x0C, 0xA2}), Numero({17}), Numero({0x0C, 0xA1})));
  EXPECT_FALSE(ExponenciacaoModular(Numero({1, 0, 0}), Numero({17}), Numero({0x0C, 0xA1})));
  EXPECT_FALSE(ExponenciacaoModular(Numero({3}), Numero({17}), Numero({0x0C, 0xA0})));
  EXPECT_FALSE(ExponenciacaoModular(Numero({3}), Numero({17}), Numero({0, 0})));
}

// On the published 1024-bit key, the same as the system's raw RSA (OpenSSL
// on Linux; CNG, or this very code where CNG refuses, on Windows), for
// blocks at both ends of the range.
TEST(ExponenciacaoModular, IgualAoRSADoSistemaNaChavePublicada) {
  const auto chave = qmx::cripto::LeChavePublicaPEM(
      qmx::testes::PastaTemporaria::Le(std::string(QMX_FONTES_RAIZ) + "/recursos/chave-publica.pem"));
  ASSERT_TRUE(chave);
  ASSERT_EQ(chave->modulo.size(), 128u);
  EXPECT_EQ(chave->expoente, Numero({0x01, 0x00, 0x01}));
  Bytes maior = chave->modulo;
  maior.back() -= 1;  // n - 1: the largest block
  Bytes bloco(128, 0);
  bloco[0] = 16;
  for (int i = 1; i <= 16; ++i) bloco[i] = static_cast<unsigned char>(i * 37);
  for (const Bytes& entrada : {bloco, maior, Bytes(128, 0)}) {
    const auto sistema = qmx::cripto::PublicaSemPreenchimento(chave->modulo, chave->expoente, entrada);
    const auto nosso = ExponenciacaoModular(entrada, chave->expoente, chave->modulo);
    ASSERT_TRUE(sistema && nosso);
    EXPECT_EQ(*nosso, *sistema);
  }
  EXPECT_EQ(*ExponenciacaoModular(maior, chave->expoente, chave->modulo), std::vector<unsigned char>(maior.begin(), maior.end()));
}

}  // namespace
