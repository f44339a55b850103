#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>

#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/texto/Windows1252.h"

using namespace qmx::texto;

TEST(Windows1252, TodosOsBytesIdaEVolta) {
  std::string todos;
  for (int b = 1; b < 256; ++b) todos += static_cast<char>(b);
  const std::string utf8 = ParaUtf8(todos);
  EXPECT_EQ(DeUtf8(utf8), todos);
  EXPECT_EQ(ParaUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(ParaUtf8("\xE7\xE3"), "\xC3\xA7\xC3\xA3");
}

TEST(Windows1252, Utf8InvalidoOuForaDaTabelaViraInterrogacao) {
  EXPECT_EQ(DeUtf8("a\xFF" "b"), "a?b");
  EXPECT_EQ(DeUtf8("\xC3"), "?");                  // cut sequence
  EXPECT_EQ(DeUtf8("\xC0\xAF"), "??");             // overlong form
  EXPECT_EQ(DeUtf8("\xE4\xB8\xAD"), "?");          // a character Windows-1252 lacks
  EXPECT_EQ(DeUtf8("\xF0\x9F\x98\x80x"), "?x");    // beyond the basic plane
  EXPECT_EQ(DeUtf8OuLatin("Regi\xE3o"), "Regi\xE3o");
  EXPECT_EQ(DeUtf8OuLatin("Regi\xC3\xA3o"), "Regi\xE3o");
}

// Into a buffer of any size, the same bytes as the whole conversion cut
// there: texts mixing plain letters, accents, characters outside the table
// and broken sequences, cut at every length; and a record's field (which
// copies a plain text as it is) the same with its terminator.
TEST(Windows1252, ConversaoNumBufferEhAConversaoCortada) {
  const std::string pedacos[] = {"a", "Z", " ", "\xC3\xA7", "\xC3\xA3", "\xE2\x82\xAC", "\xE4\xB8\xAD",
                                 "\xF0\x9F\x98\x80", "\xC3", "\xFF", "\xC0\xAF", "\xE2\x82"};
  std::uint32_t semente = 12345;
  const auto proximo = [&] { return semente = semente * 1103515245u + 12345u; };
  for (int caso = 0; caso < 400; ++caso) {
    std::string texto;
    const int partes = static_cast<int>(proximo() % 12);
    for (int p = 0; p < partes; ++p) texto += pedacos[(proximo() >> 8) % std::size(pedacos)];
    const std::string inteiro = DeUtf8(texto);
    for (std::size_t capacidade = 0; capacidade <= inteiro.size() + 1; ++capacidade) {
      std::string buffer(capacidade, '#');
      const std::size_t n = DeUtf8Em(texto, buffer.data(), capacidade);
      ASSERT_EQ(buffer.substr(0, n), inteiro.substr(0, capacidade)) << texto << " em " << capacidade;
      EXPECT_EQ(buffer.substr(n), std::string(capacidade - n, '#'));
      char campo[8];
      std::memset(campo, '#', sizeof campo);
      qmx::dados::CopiaTexto(campo, texto);
      EXPECT_EQ(std::string(campo), inteiro.substr(0, sizeof campo - 1)) << texto;
    }
  }
}

// A walk's descriptions converted once per product give what a conversion
// of each would: the same product with another text, two products in one
// place of the table, a product and a service of the same code, in turn.
TEST(Windows1252, DescricoesConvertidasUmaVezPorProdutoIguaisAConversao) {
  qmx::dados::CDescricoesConvertidas descricoes;
  const char* textos[] = {"ARROZ", "AÇÚCAR CRISTAL", "Feijão", "", "AÇÚCAR CRISTAL 5KG", "café € 1"};
  const std::uint64_t produtos[] = {7, 7 + 1024, std::uint64_t{1} << 32 | 7, 8};
  for (int rodada = 0; rodada < 200; ++rodada) {
    const std::uint64_t produto = produtos[(rodada * 7 + rodada / 5) % 4];
    const char* texto = textos[(rodada * 5 + rodada / 3) % 6];
    char convertida[101], esperada[101];
    std::memset(convertida, '#', sizeof convertida);
    descricoes.Copia(convertida, produto, texto);
    qmx::dados::CopiaTexto(esperada, texto);
    ASSERT_EQ(std::memcmp(convertida, esperada, sizeof esperada), 0) << rodada << " " << texto;
  }
}
