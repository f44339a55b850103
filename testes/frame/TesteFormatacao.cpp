#include <gtest/gtest.h>

#include <random>
#include <string>

#include "apoio/RegistroTemporario.h"
#include "apoio/RelogioSimulado.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/QMXFormatador.h"
#include "frame/QMXGenerica.h"

using qmx::CQMXFormatador;

namespace {

TEST(FormataCampo, CamposNumericosEDeTexto) {
  const struct {
    const char* texto;
    std::uint16_t largura;
    bool numerico, virgula;
    const char* esperado;
  } casos[] = {
      {"12.345-6/7", 10, true, false, "0001234567"}, {"12.345-6/7", 4, true, false, "4567"},
      {"1,50", 5, true, true, "01,50"}, {"1,50", 5, true, false, "00150"},
      {" 1 2 ", 0, true, false, "12"},  // width 0 only cleans
      {"", 3, true, false, "000"}, {nullptr, 2, true, false, "00"}, {"ABC", 5, false, false, "ABC  "},
      {"ABCDEF", 3, false, false, "ABC"}, {"ABC", 0, false, false, ""},
      {"São", 4, false, false, "São "},  // one byte a character
  };
  for (const auto& c : casos)
    EXPECT_EQ(CQMXGenerica::FormataCampo(c.texto, c.largura, c.numerico, c.virgula), c.esperado)
        << (c.texto ? c.texto : "(nulo)") << " " << c.largura;
  std::string noLugar = "12.3";
  CQMXGenerica().FormataCampo(noLugar, 6, true, false);
  EXPECT_EQ(noLugar, "000123");
}

TEST(FormataCampo, InverteDataEInterrogacao) {
  qmx::testes::RegistroTemporario registro(qmx::testes::RelogioSimulado("06/12/2026", "10:00:00"));
  EXPECT_EQ(CQMXGenerica::InverteData(65346, true), "20261127");
  EXPECT_EQ(CQMXGenerica::InverteData(55217, false), "05031999");
  EXPECT_EQ(CQMXGenerica::InverteData(0, true), "00000000");
  std::string texto = "AB";
  CQMXGenerica::AdicionaInterrogacao(5, texto);
  EXPECT_EQ(texto, "AB???");
  texto = "A B";
  CQMXGenerica::AdicionaInterrogacao(4, texto);
  EXPECT_EQ(texto, "A?B?");
}

TEST(Formatador, TextoInteiroEDatasComoORuntimeDoWindows) {
  CQMXFormatador f;
  EXPECT_STREQ(f.FormataTexto("abc", 5, true, true), "abc  ");
  EXPECT_STREQ(f.FormataTexto("abc", 5, true, false), "  abc");
  EXPECT_STREQ(f.FormataTexto("abcdef", 3, true, true), "abc");
  EXPECT_STREQ(f.FormataTexto("abcdef", 3, false, true), "abc");
  EXPECT_STREQ(f.FormataTexto("abc", 0, true, true), "");
  EXPECT_STREQ(f.FormataNumeroTexto("12.345/6-7", 10, true), "0001234567");
  EXPECT_STREQ(f.FormataNumeroTexto("12.345/6-7", 4, true), "1234");  // cut on the right
  EXPECT_STREQ(f.FormataNumeroTexto("bar", 5, true), "00bar");          // zeros pad strings too
  EXPECT_STREQ(f.FormataInteiro(42, 6, true), "000042");
  EXPECT_STREQ(f.FormataInteiro(-42, 6, true), "-00042");
  EXPECT_STREQ(f.FormataInteiro(INT64_MIN, 30, false), "-9223372036854775808");
  EXPECT_STREQ(f.FormataInteiro(1234567, 3, false), "123");
  const auto dia = qmx::CodificaDia(9, 11, 2026);
  EXPECT_STREQ(f.FormataDataDMA(dia, "/"), "09/11/2026");
  EXPECT_STREQ(f.FormataDataAMD(dia, ""), "20261109");
  EXPECT_STREQ(f.FormataDataDMA(0, "-"), "00-00-0000");
  EXPECT_STREQ(f.FormataMesAno(qmx::CodificaMes(12, 1999), "/"), "12/1999");
  EXPECT_STREQ(f.FormataMesAno(0, "/"), "00/0000");
}

TEST(Formatador, LargurasForaDoBuffer) {
  CQMXFormatador f;
  const std::string longo(2000, 'x');
  EXPECT_EQ(std::string(f.FormataTexto(longo.c_str(), 100000, true, true)).size(), 511u);
  EXPECT_EQ(std::string(f.FormataNumeroTexto("1", 600, true)).size(), 511u);
  EXPECT_EQ(std::string(f.FormataInteiro(7, 9999, true)).size(), 511u);
  EXPECT_STREQ(f.FormataTexto(nullptr, 3, true, true), "   ");
  EXPECT_STREQ(f.FormataInteiro(5, -1, true), "");
}

// The decimal text written out long-hand: digits of the magnitude, the comma
// four places from the right, decimals padded or cut, then the run-time's
// zero padding of strings and the cut at the width.
std::string ValorLongHand(std::int64_t v, int largura, int decimais, bool tiraVirgula, bool zeros) {
  const bool negativo = v < 0;
  unsigned __int128 m = negativo ? -static_cast<__int128>(v) : v;
  std::string digitos;
  do {
    digitos.insert(digitos.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
    m /= 10;
  } while (m != 0);
  while (digitos.size() < 5) digitos.insert(digitos.begin(), '0');
  std::string inteiro = digitos.substr(0, digitos.size() - 4);
  std::string fracao = digitos.substr(digitos.size() - 4) + "0000";
  std::string texto = (negativo ? "-" : "") + inteiro;
  if (decimais > 0) texto += (tiraVirgula ? "" : ",") + fracao.substr(0, static_cast<size_t>(decimais));
  if (zeros && static_cast<int>(texto.size()) < largura) texto.insert(0, static_cast<size_t>(largura) - texto.size(), '0');
  if (static_cast<int>(texto.size()) > largura) texto.resize(static_cast<size_t>(largura));
  return texto;
}

TEST(Formatador, ValorContraCalculoManual) {
  std::mt19937_64 gerador(42);
  CQMXFormatador f;
  // The one value whose magnitude a 64-bit integer cannot hold.
  EXPECT_STREQ(f.FormataValor(INT64_MIN, 30, 4, false, false), "-922337203685477,5808");
  for (int i = 0; i < 20000; ++i) {
    std::int64_t v = static_cast<std::int64_t>(gerador());
    if (i % 3 == 0) v %= 10000000;   // small amounts, like real ones
    if (i % 7 == 0) v = -v;
    const int largura = static_cast<int>(gerador() % 30);
    const int decimais = static_cast<int>(gerador() % 12);
    const bool tira = gerador() % 2, zeros = gerador() % 2;
    ASSERT_EQ(std::string(f.FormataValor(v, largura, decimais, tira, zeros)), ValorLongHand(v, largura, decimais, tira, zeros))
        << v << " " << largura << " " << decimais << " " << tira << " " << zeros;
  }
}

}  // namespace
