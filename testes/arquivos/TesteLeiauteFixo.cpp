// Records written from their layouts: each kind of field gives what the
// formatting rules it stands for give, to the byte, at every width asked.
#include <gtest/gtest.h>

#include <climits>

#include "arquivos/LeiauteFixo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/QMXFormatador.h"
#include "frame/QMXGenerica.h"

using namespace qmx;
using leiaute::Tipo;

namespace {

// A layout of one field, for the widths and decimals of a table.
template <Tipo T, int L, int D = 0>
constexpr leiaute::Campo kUm[] = {{T, L, D}};

// f.template operator()<N>() for each N.
template <int... N, class F>
void ParaCada(F&& f) {
  (f.template operator()<N>(), ...);
}

TEST(EscritorRegistro, CamposDoSintegraIguaisAoFormatador) {
  CQMXFormatador formatador;
  CEscritorRegistro escritor("");
  // Each side of a width: 999 and 1000, a whole part of 9999 and 10000.
  const std::int64_t valores[] = {0,         1,          9,          10,     999,    1000,     99999,
                                  123456789, 99990000,   100000000,  10000,  12345,  -1,       -12345,
                                  INT64_MAX, INT64_MIN + 1};
  for (const auto valor : valores)
    ParaCada<1, 3, 4, 6, 13, 16, 20, 21>([&]<int L>() {
      ParaCada<0, 1, 2, 3, 4>([&]<int D>() {
        EXPECT_EQ((escritor.Monta<kUm<Tipo::V, L, D>>({valor})), formatador.FormataValor(valor, L, D, true, true))
            << valor << " V(" << L << "," << D << ")";
      });
      EXPECT_EQ((escritor.Monta<kUm<Tipo::N, L>>({valor})), formatador.FormataInteiro(valor, L, true)) << valor;
    });
  for (const char* texto : {"", "A", "ARROZ TIPO 1", "Conceição Aparecida dos Santos"})
    ParaCada<1, 5, 12, 40>([&]<int L>() {
      EXPECT_EQ((escritor.Monta<kUm<Tipo::X, L>>({texto})), formatador.FormataTexto(texto, L, true, true)) << texto << L;
    });
  static constexpr leiaute::Campo kData[] = {leiaute::Dt(), leiaute::MesAno()};
  EXPECT_EQ(escritor.Monta<kData>({CodificaDia(9, 1, 2026), CodificaMes(11, 2026)}), "20260109112026");
}

TEST(EscritorRegistro, CamposDosArquivosPAFIguaisAoFormataCampo) {
  CQMXFormatador formatador;
  CEscritorRegistro escritor("");
  const std::int64_t valores[] = {0, 5, 10, 99999, 123456789, -12345, -1, 1234567890123LL, INT64_MAX, INT64_MIN};
  for (const auto valor : valores)
    ParaCada<1, 3, 7, 14, 19, 20, 25>([&]<int L>() {
      ParaCada<0, 2, 3>([&]<int D>() {
        // The amount as Brazilian text with its decimals, then a numeric field.
        const std::string texto = formatador.FormataValor(valor, 100, D, false, false);
        EXPECT_EQ((escritor.Monta<kUm<Tipo::Quantia, L, D>>({valor})),
                  CQMXGenerica::FormataCampo(texto.c_str(), static_cast<std::uint16_t>(L), true, false))
            << valor << " Quantia(" << L << "," << D << ")";
      });
      EXPECT_EQ((escritor.Monta<kUm<Tipo::Numerico, L>>({valor})),
                CQMXGenerica::FormataCampo(std::to_string(valor).c_str(), static_cast<std::uint16_t>(L), true, false))
          << valor;
    });
  static constexpr leiaute::Campo kCampos[] = {leiaute::Num(14), leiaute::X(3), leiaute::DataInv(), leiaute::DataInv()};
  EXPECT_EQ(escritor.Monta<kCampos>({"12.345.678/0001-95", "ABCD", CodificaDia(5, 11, 2026), 0}),
            "12345678000195ABC2026110500000000");
  EXPECT_EQ(escritor.Monta<kCampos>({"BE0910 001-2", "", 1, 1}).substr(0, 14), "0000BE09100012");
}

// A writer remembers the last date it wrote: dates that repeat, change back
// and forth, or fall outside the calendar are each written as the generic
// formatting writes them.
TEST(EscritorRegistro, DatasRepetidasEForaDoCalendarioEMontaEmAcrescenta) {
  CEscritorRegistro escritor("\r\n");
  static constexpr leiaute::Campo kCampos[] = {leiaute::Dt(), leiaute::DataInv()};
  const NumeroDia dia = CodificaDia(9, 1, 2026), outro = CodificaDia(31, 12, 2099), fora = 3'100'000;
  const std::pair<NumeroDia, NumeroDia> pares[] = {{dia, dia}, {dia, outro}, {outro, dia}, {0, dia},
                                                   {fora, fora}, {dia, fora}, {fora, 0}, {-5, dia}, {dia, dia}};
  for (const auto& [a, b] : pares)
    EXPECT_EQ(escritor.Monta<kCampos>({a, b}), DataInvertida(a, true) + DataInvertida(b, true) + "\r\n") << a << " " << b;
  EXPECT_EQ(escritor.Monta<kCampos>({fora, dia}), "0000000020260109\r\n");

  std::string texto = "antes|";
  escritor.MontaEm<kCampos>(texto, {dia, outro});
  escritor.MontaEm<kCampos>(texto, {outro, dia});
  EXPECT_EQ(texto, "antes|2026010920991231\r\n2099123120260109\r\n");
}

// Every kind of field in one record, widths at their edges, and a short
// record to follow a long one.
constexpr leiaute::Campo kTodos[] = {
    leiaute::Lit("T1"), leiaute::X(5),     leiaute::N(4),          leiaute::D(6),    leiaute::V(8, 2),
    leiaute::Dt(),      leiaute::MesAno(), leiaute::Brancos(3),    leiaute::Num(6),  leiaute::Quantia(7, 3),
    leiaute::DataInv(), leiaute::Insc(8),  leiaute::Num(20),       leiaute::Quantia(19, 2), leiaute::X(1),
    leiaute::Num(1),    leiaute::Lit("")};
constexpr leiaute::Campo kCurto[] = {leiaute::Lit("C"), leiaute::X(2), leiaute::Num(3)};

// A record with the wrong number of values does not compile.
template <class Escritor, class... Valores>
constexpr bool kAceita = requires(Escritor e) { e.template Monta<kCurto>({Valores{}...}); };
static_assert(kAceita<CEscritorRegistro, const char*, int>);
static_assert(!kAceita<CEscritorRegistro, const char*>);
static_assert(!kAceita<CEscritorRegistro, const char*, int, int>);

// A whole record is its fields, each written alone, one after another, with
// each value given to its own field; a reused line after a longer one holds
// the shorter one alone, and records appended to a text follow it.
TEST(EscritorRegistro, RegistroEhSeusCamposUmAposOOutro) {
  const std::int64_t numeros[] = {0,   1,       9,         10,       999,       1000,          99999,    -1,
                                  -12345, 123456789, 99990000, 100000000, 1234567890123LL, INT64_MAX, INT64_MIN,
                                  INT64_MIN + 1};
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
  // Each field alone, from a writer of its own (a writer remembers dates).
  CEscritorRegistro sozinho(""), registro("\r\n");
  const auto campo = [&]<const auto& kCampo>(const leiaute::Valor& valor) {
    return std::string(sozinho.Monta<kCampo>({valor}));
  };
  std::string juntos = "antes|", esperadoJuntos = "antes|";
  for (int i = 0; i < 3000; ++i) {
    const auto n = [&] { return numeros[sorteia(std::size(numeros))]; };
    const auto t = [&] { return textos[sorteia(std::size(textos))]; };
    const auto d = [&] { return dias[sorteia(std::size(dias))]; };
    const leiaute::Valor num6 = sorteia(2) ? leiaute::Valor(t()) : leiaute::Valor(n());
    const char *x5 = t(), *insc = t(), *x1 = t();
    const std::int64_t n4 = n(), v8 = n(), q7 = n(), q19 = n(), n20 = n(), n1 = n();
    const char* d6 = sorteia(2) ? "12.345/6-7" : "98765432100";
    const NumeroDia dt = d(), dinv = d();
    const std::int64_t mes = meses[sorteia(std::size(meses))];
    const std::string esperado =
        "T1" + campo.operator()<kUm<Tipo::X, 5>>(x5) + campo.operator()<kUm<Tipo::N, 4>>(n4) +
        campo.operator()<kUm<Tipo::D, 6>>(d6) + campo.operator()<kUm<Tipo::V, 8, 2>>(v8) +
        campo.operator()<kUm<Tipo::Dt, 8>>(dt) + campo.operator()<kUm<Tipo::MesAno, 6>>(mes) + "   " +
        campo.operator()<kUm<Tipo::Numerico, 6>>(num6) + campo.operator()<kUm<Tipo::Quantia, 7, 3>>(q7) +
        campo.operator()<kUm<Tipo::DataInvertida, 8>>(dinv) + campo.operator()<kUm<Tipo::Inscricao, 8>>(insc) +
        campo.operator()<kUm<Tipo::Numerico, 20>>(n20) + campo.operator()<kUm<Tipo::Quantia, 19, 2>>(q19) +
        campo.operator()<kUm<Tipo::X, 1>>(x1) + campo.operator()<kUm<Tipo::Numerico, 1>>(n1) + "\r\n";
    EXPECT_EQ(registro.Monta<kTodos>({x5, n4, d6, v8, dt, mes, num6, q7, dinv, insc, n20, q19, x1, n1}), esperado)
        << i;
    const std::string curto =
        "C" + campo.operator()<kUm<Tipo::X, 2>>(x1) + campo.operator()<kUm<Tipo::Numerico, 3>>(n1) + "\r\n";
    EXPECT_EQ(registro.Monta<kCurto>({x1, n1}), curto) << i;
    if (i % 100 == 0) {
      registro.MontaEm<kTodos>(juntos, {x5, n4, d6, v8, dt, mes, num6, q7, dinv, insc, n20, q19, x1, n1});
      registro.MontaEm<kCurto>(juntos, {x1, n1});
      esperadoJuntos += esperado + curto;
    }
  }
  EXPECT_EQ(juntos, esperadoJuntos);
  EXPECT_EQ(registro.Monta<kCurto>({"XYZ", 1234}), "CXY234\r\n");
}

}  // namespace
