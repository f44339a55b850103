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

// Known answers worked out by hand from the key stream (seed 1 gives
// t = 1, 40, 35, 226, 149, ...): the offset is taken as 16 bits and modulo
// 500, the position wraps at the 128th value, the digits are capitals.
TEST(CifraTexto, RespostasConhecidas) {
  const struct {
    std::int32_t semente, deslocamento;
    const char* texto;
    const char* hex;
  } casos[] = {
      {1, 0, "abc", "63A2A5"},
      {1, 500, "abc", "63A2A5"},  // 500 is offset 0 again
      {1, 628, "abc", "63A2A5"},  // 628 mod 500 = 128: the stream starts over
      {65537, 0, "abc", "63A2A5"},  // only 16 bits of the seed: 1
      {1, 3, "abc", "A162A3"},
      {1, 65539, "abc", "A162A3"},  // only 16 bits of the offset: 3
      {1, -1, "abc", "61A2E3"},     // 65535 mod 500 = 35
      {7, 126, "WXYZ", "D96867A6"},  // positions 126, 127, 0, 1
      {-2, 499, "Caixa 1", "C5E1EB886FE053"},
      {0x2345, 100, "0123456789012345678901234567890123456789",
       "D031D6574C3D4ACBF8493031D2335CFD36D748C9D0D1CECF5455DADB384930D152F3D4D54EFF48C9"},
      {10, 20, "Opera\xE7\xE3o", "B3F0A5B6A1692391"},
  };
  for (const auto& c : casos) {
    const CifraTexto cifra(c.semente, c.deslocamento);
    EXPECT_EQ(cifra.CifraParaHex(c.texto), c.hex) << c.semente << "/" << c.deslocamento << " " << c.texto;
    EXPECT_EQ(cifra.DecifraDeHex(c.hex), c.texto) << c.semente << "/" << c.deslocamento;
  }
  // Lower-case digits and anything between them are read too.
  std::string baguncado;
  for (char c : CifraTexto(9, 9).CifraParaHex("ABC"))
    baguncado += std::string(1, static_cast<char>(std::tolower(c))) + "-";
  EXPECT_EQ(CifraTexto(9, 9).DecifraDeHex(baguncado), "ABC");
}

// The exported calls append to what the buffers hold; long texts are cut
// without overflowing.
TEST(CifraTexto, ExportacoesAcrescentamAoQueOBufferTemECortamTextosLongos) {
  char hexTexto[256] = "<", hexValor[256] = "[";
  ASSERT_TRUE(QMX_Criptografar(4711, 123, "Caixa 1", "1.234,56", hexTexto, hexValor));
  EXPECT_STREQ(hexTexto, "<C3A7A9B8A1E0D1");
  EXPECT_STREQ(hexValor, "[D156577CCDFA");  // the digits 123456
  char senha[32] = {};
  ASSERT_TRUE(QMX_MontaSenha(4711, 123, senha));
  char texto[128] = {};
  std::int64_t valor = 0;
  ASSERT_TRUE(QMX_Descriptografar(senha, hexTexto + 1, hexValor + 1, texto, &valor));
  EXPECT_STREQ(texto, "Caixa 1");
  EXPECT_EQ(valor, 12345600);  // 1234.5600 with four implied decimals
  char longoTexto[1024] = {}, longoValor[1024] = {};
  QMX_Criptografar(1, 2, std::string(300, 'x').c_str(), std::string(150, '9').c_str(), longoTexto, longoValor);
  EXPECT_EQ(std::strlen(longoTexto), 2u * CifraTexto::kTamanhoMaximo);
  EXPECT_EQ(std::strlen(longoValor), 2u * CifraTexto::kTamanhoMaximo);
}

TEST(CifraTexto, SenhaEmpacotadaVoltaParaQualquerSorteio) {
  for (int r = 0; r < 32; ++r) {
    const std::string senha = CifraTexto::MontaSenha(0xBEEF, 417, r);
    std::uint16_t semente = 0, deslocamento = 0;
    ASSERT_TRUE(QMX_DesmontaSenha(senha.c_str(), &semente, &deslocamento));
    EXPECT_EQ(std::pair(semente, deslocamento), std::pair(std::uint16_t{0xBEEF}, std::uint16_t{417})) << r;
  }
  EXPECT_NE(CifraTexto::MontaSenha(1, 2, 0), CifraTexto::MontaSenha(1, 2, 1));
  std::uint16_t semente = 9, deslocamento = 9;
  QMX_DesmontaSenha("não é número", &semente, &deslocamento);
  EXPECT_EQ(std::pair(semente, deslocamento), std::pair(std::uint16_t{0}, std::uint16_t{0}));
}

TEST(CifraTexto, XorDeUmByte) {
  char buffer[] = {'a', 'K', 0, 'z'};
  const char original[] = {'a', 'K', 0, 'z'};
  // A byte equal to the key becomes zero; a zero stays zero, the second time too.
  CriptografarTexto(buffer, 4, 'K');
  EXPECT_EQ(std::tuple(buffer[0], buffer[1], buffer[2]), std::tuple('a' ^ 'K', 0, 0));
  CriptografarTexto(buffer, 4, 'K');
  EXPECT_EQ(std::tuple(buffer[0], buffer[1], buffer[3]), std::tuple(original[0], 0, original[3]));
  CriptografarTexto(nullptr, 4, 1);
  CriptografarTexto(buffer, 0, 1);
  EXPECT_EQ(buffer[0], original[0]);
}

}  // namespace
