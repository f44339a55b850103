// Records written from their layouts: each kind of field gives what the
// formatting rules it stands for give, to the byte.
#include <gtest/gtest.h>

#include <climits>

#include "arquivos/LeiauteFixo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/QMXFormatador.h"
#include "frame/QMXGenerica.h"

using namespace qmx;

namespace {

TEST(EscritorRegistro, CamposDoSintegraIguaisAoFormatador) {
  CQMXFormatador formatador;
  CEscritorRegistro escritor("");
  // Each side of a width: 999 and 1000, a whole part of 9999 and 10000.
  const std::int64_t valores[] = {0,         1,          9,          10,     999,    1000,     99999,
                                  123456789, 99990000,   100000000,  10000,  12345,  -1,       -12345,
                                  INT64_MAX, INT64_MIN + 1};
  for (const auto valor : valores)
    for (int largura : {1, 3, 4, 6, 13, 16, 20, 21})
      for (int decimais : {0, 1, 2, 3, 4}) {
        const leiaute::Campo v[] = {leiaute::V(largura, decimais)};
        EXPECT_EQ(escritor.Monta(v, {valor}), formatador.FormataValor(valor, largura, decimais, true, true))
            << valor << " V(" << largura << "," << decimais << ")";
        const leiaute::Campo n[] = {leiaute::N(largura)};
        EXPECT_EQ(escritor.Monta(n, {valor}), formatador.FormataInteiro(valor, largura, true)) << valor;
      }
  for (const char* texto : {"", "A", "ARROZ TIPO 1", "Conceição Aparecida dos Santos"})
    for (int largura : {1, 5, 12, 40}) {
      const leiaute::Campo x[] = {leiaute::X(largura)};
      EXPECT_EQ(escritor.Monta(x, {texto}), formatador.FormataTexto(texto, largura, true, true)) << texto << largura;
    }
  const leiaute::Campo data[] = {leiaute::Dt(), leiaute::MesAno()};
  EXPECT_EQ(escritor.Monta(data, {CodificaDia(9, 1, 2026), CodificaMes(11, 2026)}), "20260109112026");
  const leiaute::Campo dois[] = {leiaute::X(2), leiaute::N(2)};
  EXPECT_THROW(escritor.Monta(dois, {"a"}), std::invalid_argument);
  EXPECT_THROW(escritor.Monta(dois, {"a", 1, 2}), std::invalid_argument);
}

TEST(EscritorRegistro, CamposDosArquivosPAFIguaisAoFormataCampo) {
  CQMXFormatador formatador;
  CEscritorRegistro escritor("");
  const std::int64_t valores[] = {0, 5, 10, 99999, 123456789, -12345, -1, 1234567890123LL, INT64_MAX, INT64_MIN};
  for (const auto valor : valores)
    for (int largura : {1, 3, 7, 14, 19, 20, 25})
      for (int decimais : {0, 2, 3}) {
        const leiaute::Campo quantia[] = {leiaute::Quantia(largura, decimais)};
        // The amount as Brazilian text with its decimals, then a numeric field.
        const std::string texto = formatador.FormataValor(valor, 100, decimais, false, false);
        EXPECT_EQ(escritor.Monta(quantia, {valor}),
                  CQMXGenerica::FormataCampo(texto.c_str(), static_cast<std::uint16_t>(largura), true, false))
            << valor << " Quantia(" << largura << "," << decimais << ")";
        const leiaute::Campo numero[] = {leiaute::Num(largura)};
        EXPECT_EQ(escritor.Monta(numero, {valor}),
                  CQMXGenerica::FormataCampo(std::to_string(valor).c_str(), static_cast<std::uint16_t>(largura), true, false))
            << valor;
      }
  const leiaute::Campo campos[] = {leiaute::Num(14), leiaute::X(3), leiaute::DataInv(), leiaute::DataInv()};
  EXPECT_EQ(escritor.Monta(campos, {"12.345.678/0001-95", "ABCD", CodificaDia(5, 11, 2026), 0}),
            "12345678000195ABC2026110500000000");
  EXPECT_EQ(escritor.Monta(campos, {"BE0910 001-2", "", 1, 1}).substr(0, 14), "0000BE09100012");
}

// A writer remembers the last date it wrote: dates that repeat, change back
// and forth, or fall outside the calendar are each written as the generic
// formatting writes them.
TEST(EscritorRegistro, DatasRepetidasEForaDoCalendarioEMontaEmAcrescenta) {
  CEscritorRegistro escritor("\r\n");
  const leiaute::Campo campos[] = {leiaute::Dt(), leiaute::DataInv()};
  const NumeroDia dia = CodificaDia(9, 1, 2026), outro = CodificaDia(31, 12, 2099), fora = 3'100'000;
  const std::pair<NumeroDia, NumeroDia> pares[] = {{dia, dia}, {dia, outro}, {outro, dia}, {0, dia},
                                                   {fora, fora}, {dia, fora}, {fora, 0}, {-5, dia}, {dia, dia}};
  for (const auto& [a, b] : pares)
    EXPECT_EQ(escritor.Monta(campos, {a, b}), DataInvertida(a, true) + DataInvertida(b, true) + "\r\n") << a << " " << b;
  EXPECT_EQ(escritor.Monta(campos, {fora, dia}), "0000000020260109\r\n");

  std::string texto = "antes|";
  escritor.MontaEm(texto, campos, {dia, outro});
  escritor.MontaEm(texto, campos, {outro, dia});
  EXPECT_EQ(texto, "antes|2026010920991231\r\n2099123120260109\r\n");
  EXPECT_THROW(escritor.MontaEm(texto, campos, {dia}), std::invalid_argument);
  EXPECT_EQ(texto, "antes|2026010920991231\r\n2099123120260109\r\n");
}

}  // namespace
