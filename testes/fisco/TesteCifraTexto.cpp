#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "fisco/CifraTexto.h"
#include "frame/QMXUTIL.h"

using qmx::CifraTexto;

namespace {

TEST(CifraTexto, DecifrarDevolveOTextoParaQualquerChave) {
  std::mt19937 gerador(20261205);
  for (int vez = 0; vez < 2000; ++vez) {
    const auto semente = static_cast<std::int32_t>(gerador());
    const auto deslocamento = static_cast<std::int32_t>(gerador());
    std::string texto;
    const int tamanho = 1 + static_cast<int>(gerador() % 99);
    for (int i = 0; i < tamanho; ++i) texto += static_cast<char>(1 + gerador() % 255);
    const CifraTexto cifra(semente, deslocamento);
    const std::string hex = cifra.CifraParaHex(texto);
    // No nonzero byte enciphers to zero, so the whole text is covered.
    ASSERT_EQ(hex.size(), texto.size() * 2);
    ASSERT_EQ(cifra.DecifraDeHex(hex), texto);
  }
}

TEST(CifraTexto, TabelaDaChaveEDeslocamentoModulo500) {
  // Seed 1: t = 1, 40, 39, 26, ... ; offset 0 gives these key bytes.
  unsigned char dados[3] = {0, 0, 0};
  CifraTexto(1, 0).Cifra(dados, 3);
  EXPECT_EQ(dados[0], (0 + 1) ^ 1);
  EXPECT_EQ(dados[1], (0 + 40) ^ 40);
  unsigned char a[4] = {'a', 'b', 'c', 'd'};
  unsigned char b[4] = {'a', 'b', 'c', 'd'};
  CifraTexto(77, 3).Cifra(a, 4);
  CifraTexto(77, 503).Cifra(b, 4);
  EXPECT_EQ(std::memcmp(a, b, 4), 0);
  // Only the low 16 bits of the seed matter.
  unsigned char c[4] = {'a', 'b', 'c', 'd'};
  CifraTexto(77 + 65536, 3).Cifra(c, 4);
  EXPECT_EQ(std::memcmp(a, c, 4), 0);
}

TEST(CifraTexto, ExportacoesComValor) {
  char hexTexto[256] = {}, hexValor[256] = {};
  ASSERT_TRUE(QMX_Criptografar(4711, 123, "Caixa 1", "1.234,56", hexTexto, hexValor));
  char senha[32] = {};
  ASSERT_TRUE(QMX_MontaSenha(4711, 123, senha));
  char texto[128] = {};
  std::int64_t valor = 0;
  ASSERT_TRUE(QMX_Descriptografar(senha, hexTexto, hexValor, texto, &valor));
  EXPECT_STREQ(texto, "Caixa 1");
  EXPECT_EQ(valor, 12345600);  // 1234.5600 with four implied decimals
}

TEST(CifraTexto, HexadecimalMinusculoEComLixo) {
  const CifraTexto cifra(9, 9);
  const std::string hex = cifra.CifraParaHex("ABC");
  std::string baguncado;
  for (char c : hex) baguncado += std::string(1, static_cast<char>(std::tolower(c))) + "-";
  EXPECT_EQ(cifra.DecifraDeHex(baguncado), "ABC");
}

TEST(CifraTexto, TextosLongosSaoCortadosSemEstourar) {
  const std::string longo(300, 'x');
  char hexTexto[1024] = {}, hexValor[1024] = {};
  QMX_Criptografar(1, 2, longo.c_str(), std::string(150, '9').c_str(), hexTexto, hexValor);
  EXPECT_EQ(std::strlen(hexTexto), 2u * CifraTexto::kTamanhoMaximo);
  EXPECT_EQ(std::strlen(hexValor), 2u * CifraTexto::kTamanhoMaximo);
}

TEST(CifraTexto, SenhaEmpacotadaVoltaParaQualquerSorteio) {
  for (int r = 0; r < 32; ++r) {
    const std::string senha = CifraTexto::MontaSenha(0xBEEF, 417, r);
    std::uint16_t semente = 0, deslocamento = 0;
    ASSERT_TRUE(QMX_DesmontaSenha(senha.c_str(), &semente, &deslocamento));
    EXPECT_EQ(semente, 0xBEEF) << r;
    EXPECT_EQ(deslocamento, 417) << r;
  }
  EXPECT_NE(CifraTexto::MontaSenha(1, 2, 0), CifraTexto::MontaSenha(1, 2, 1));
  std::uint16_t semente = 9, deslocamento = 9;
  QMX_DesmontaSenha("não é número", &semente, &deslocamento);
  EXPECT_EQ(semente, 0);
  EXPECT_EQ(deslocamento, 0);
}

TEST(CifraTexto, XorDeUmByte) {
  char buffer[] = {'a', 'K', 0, 'z'};
  const char original[] = {'a', 'K', 0, 'z'};
  CriptografarTexto(buffer, 4, 'K');
  EXPECT_EQ(buffer[0], 'a' ^ 'K');
  EXPECT_EQ(buffer[1], 0);  // equal to the key: becomes zero
  EXPECT_EQ(buffer[2], 0);  // zero stays zero
  CriptografarTexto(buffer, 4, 'K');
  EXPECT_EQ(buffer[0], original[0]);
  EXPECT_EQ(buffer[1], 0);  // and stays zero
  EXPECT_EQ(buffer[3], original[3]);
  CriptografarTexto(nullptr, 4, 1);
  CriptografarTexto(buffer, 0, 1);
  EXPECT_EQ(buffer[0], original[0]);
}

}  // namespace
