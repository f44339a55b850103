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

// Layouts known when the program is built: every kind of field, widths at
// their edges, and a short record to follow a long one.
constexpr leiaute::Campo kTodos[] = {
    leiaute::Lit("T1"), leiaute::X(5),     leiaute::N(4),          leiaute::D(6),    leiaute::V(8, 2),
    leiaute::Dt(),      leiaute::MesAno(), leiaute::Brancos(3),    leiaute::Num(6),  leiaute::Quantia(7, 3),
    leiaute::DataInv(), leiaute::Insc(8),  leiaute::Num(20),       leiaute::Quantia(19, 2), leiaute::X(1),
    leiaute::Num(1),    leiaute::Lit("")};
constexpr leiaute::Campo kCurto[] = {leiaute::Lit("C"), leiaute::X(2), leiaute::Num(3)};

template <class Escritor, class... Valores>
constexpr bool kAceita = requires(Escritor e) { e.template Monta<kCurto>({Valores{}...}); };
static_assert(kAceita<CEscritorRegistro, const char*, int>);
static_assert(!kAceita<CEscritorRegistro, const char*>);
static_assert(!kAceita<CEscritorRegistro, const char*, int, int>);

// The same record whether its layout is read when the line is written or
// known when the program is built, over values drawn from tables of edges;
// a reused line after a longer one holds the shorter one alone.
TEST(EscritorRegistro, LeiauteConhecidoAoCompilarEscreveOMesmo) {
  const std::int64_t numeros[] = {0,    1,         9,         10,        999,       1000,          99999,
                                  -1,   -12345,    123456789, 99990000,  100000000, 1234567890123LL, INT64_MAX,
                                  INT64_MIN, INT64_MIN + 1};
  const char* textos[] = {"", "A", "12.345/6-7", "110.042.490.114", "Conceição Aparecida dos Santos", "ABCDEFGHIJ"};
  const NumeroDia dias[] = {0, CodificaDia(9, 1, 2026), CodificaDia(31, 12, 2099), 3'100'000, -5};
  const std::int64_t meses[] = {CodificaMes(11, 2026), CodificaMes(1, 2027), 0};
  std::uint64_t semente = 88172645463325252ull;
  const auto sorteia = [&](std::size_t n) {
    semente ^= semente << 13;
    semente ^= semente >> 7;
    semente ^= semente << 17;
    return static_cast<std::size_t>(semente % n);
  };
  CEscritorRegistro lido("\r\n"), conhecido("\r\n");
  std::string juntos = "antes|", esperadoJuntos = "antes|";
  for (int i = 0; i < 3000; ++i) {
    const auto n = [&] { return numeros[sorteia(std::size(numeros))]; };
    const auto t = [&] { return textos[sorteia(std::size(textos))]; };
    const auto d = [&] { return dias[sorteia(std::size(dias))]; };
    const char* numericoTexto = t();
    const std::int64_t numerico = n();
    const bool comTexto = sorteia(2) == 0;
    const auto ponto = [&](const leiaute::Valor& a) { return a; };
    const leiaute::Valor num6 = comTexto ? leiaute::Valor(numericoTexto) : leiaute::Valor(numerico);
    const char* x5 = t();
    const std::int64_t n4 = n(), v8 = n(), q7 = n(), q19 = n(), n20 = n(), n1 = n();
    const char* d6 = sorteia(2) ? "12.345/6-7" : "98765432100";
    const NumeroDia dt = d(), dinv = d();
    const std::int64_t mes = meses[sorteia(std::size(meses))];
    const char *insc = t(), *x1 = t();
    const std::string esperado =
        lido.Monta(kTodos, {x5, n4, d6, v8, dt, mes, num6, q7, dinv, insc, n20, q19, x1, n1});
    EXPECT_EQ(conhecido.Monta<kTodos>({x5, n4, d6, v8, dt, mes, ponto(num6), q7, dinv, insc, n20, q19, x1, n1}),
              esperado)
        << i;
    const std::string curto = lido.Monta(kCurto, {x1, n1});
    EXPECT_EQ(conhecido.Monta<kCurto>({x1, n1}), curto) << i;
    if (i % 100 == 0) {
      conhecido.MontaEm<kTodos>(juntos, {x5, n4, d6, v8, dt, mes, num6, q7, dinv, insc, n20, q19, x1, n1});
      conhecido.MontaEm<kCurto>(juntos, {x1, n1});
      esperadoJuntos += esperado + curto;
    }
  }
  EXPECT_EQ(juntos, esperadoJuntos);
  EXPECT_EQ(conhecido.Monta<kCurto>({"XYZ", 1234}), "CXY234\r\n");
}

}  // namespace
