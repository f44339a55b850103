#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <tuple>

#include "apoio/RegistroTemporario.h"
#include "apoio/RelogioSimulado.h"
#include "frame/QMXGenerica.h"
#include "frame/QMXUTIL.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "plataforma/ui/EditData.h"

using namespace qmx;

namespace {

namespace cr = std::chrono;

// The day number from the standard library's Gregorian calendar: days since
// 31 December 1847, plus the 29 February 1900 that the day numbers have
// always counted.
NumeroDia Referencia(int ano, unsigned mes, unsigned dia) {
  const cr::year_month_day data{cr::year{ano}, cr::month{mes}, cr::day{dia}};
  const auto dias = (cr::sys_days{data} - cr::sys_days{cr::year{1847} / 12 / 31}).count();
  return static_cast<NumeroDia>(dias + (data > cr::year{1900} / 2 / 28 ? 1 : 0));
}

std::string Texto(const DiaMesAno& d) {
  return std::to_string(d.dia) + "/" + std::to_string(d.mes) + "/" + std::to_string(d.ano);
}

// Every day from 1848 to 2400 against the standard calendar, consecutive,
// and back to the same day, month and year; 29 February 1900 is the one day
// the standard calendar lacks.
TEST(DataCodificada, CadaDiaDe1848a2400ComoOCalendarioGregoriano) {
  NumeroDia anterior = 0;
  for (cr::sys_days d = cr::sys_days{cr::year{1848} / 1 / 1}; d <= cr::sys_days{cr::year{2400} / 12 / 31};
       d += cr::days{1}) {
    const cr::year_month_day ymd{d};
    const int ano = static_cast<int>(ymd.year());
    const unsigned mes = static_cast<unsigned>(ymd.month()), dia = static_cast<unsigned>(ymd.day());
    const NumeroDia numero = CodificaDia(dia, mes, static_cast<unsigned>(ano));
    ASSERT_EQ(numero, Referencia(ano, mes, dia)) << dia << "/" << mes << "/" << ano;
    const DiaMesAno volta = DecodificaDia(numero);
    ASSERT_EQ(Texto(volta), std::to_string(dia) + "/" + std::to_string(mes) + "/" + std::to_string(ano));
    const bool depoisDe28DeFevereiroDe1900 = ano == 1900 && mes == 3 && dia == 1;
    ASSERT_EQ(numero, anterior + (depoisDe28DeFevereiroDe1900 ? 2 : 1)) << Texto(volta);
    anterior = numero;
  }
  EXPECT_EQ(Texto(DecodificaDia(CodificaDia(28, 2, 1900) + 1)), "29/2/1900");
}

TEST(DataCodificada, LimitesDaCodificacao) {
  EXPECT_EQ(CodificaDia(0, 0, 0), 0);
  // A day past the month's end is its last day; 29 February of a common
  // year is the 28th.
  for (const auto& [dia, mes, ano] : {std::tuple{31u, 4u, 2030u}, {29u, 2u, 2027u}, {29u, 2u, 2100u}, {30u, 2u, 2028u}})
    EXPECT_EQ(CodificaDia(dia, mes, ano), CodificaDia(dia - 1, mes, ano)) << dia << "/" << mes << "/" << ano;
  // No month, no number (nor days in it); no year outside 1848..9999 either.
  EXPECT_EQ(DiasDoMes(13, 2027), 0u);
  for (const auto& [dia, mes, ano] : {std::tuple{1u, 13u, 2027u}, {1u, 0u, 2027u}, {31u, 12u, 1847u}, {1u, 1u, 10000u}})
    EXPECT_EQ(CodificaDia(dia, mes, ano), 0) << dia << "/" << mes << "/" << ano;
  // Numbers outside the calendar decode to no date, as 0 does.
  for (NumeroDia fora : {0, -1, CodificaDia(31, 12, 9999) + 1})
    EXPECT_EQ(Texto(DecodificaDia(fora)), "0/0/0") << fora;
}

TEST(DataCodificada, CodigoDeMes) {
  for (unsigned ano = 1848; ano <= 2200; ++ano)
    for (unsigned mes = 1; mes <= 12; ++mes) {
      const std::uint16_t codigo = CodificaMes(mes, ano);
      ASSERT_EQ(codigo, (ano - 1848) * 12 + mes);
      const DiaMesAno volta = DecodificaMes(codigo);
      ASSERT_EQ(volta.mes, mes);
      ASSERT_EQ(volta.ano, ano);
    }
  EXPECT_EQ(CodificaMes(0, 0), 0);
  EXPECT_EQ(CodificaMes(13, 2027), 0);
  EXPECT_EQ(DecodificaMes(0).mes, 0);
}

TEST(DataCodificada, TextosDeUmDiaEDeHora) {
  // (The zero day and the window's texts are in JanelaDatas.ExportacoesSeguemORelogio.)
  EXPECT_EQ(TextoData(CodificaDia(1, 1, 2100), false), "01/01/00");
  EXPECT_EQ(DataInvertida(CodificaDia(15, 1, 2027), false), "15012027");
  EXPECT_EQ(MontaHora(std::uint16_t{75}), "01:15");
  EXPECT_EQ(MontaHora(std::uint16_t{0}), "00:00");
  EXPECT_EQ(MontaHora(std::int32_t{93015}, true), "09:30:15");
  EXPECT_EQ(MontaHora(std::int32_t{93015}, false), "09:30");
}

// ----- the 16-bit day numbers of the exports -----

TEST(JanelaDatas, AntesDe2017OsDezesseisBitsSaoONumeroDoDia) {
  for (NumeroDia hoje : {NumeroDia{0}, CodificaDia(1, 2, 2013), CodificaDia(5, 6, 2017) - 1}) {
    EXPECT_EQ(FimDaJanela(hoje), 65535) << hoje;
    EXPECT_EQ(InicioDaJanela(hoje), 1) << hoje;
    for (NumeroDia dia = 1; dia <= 65535; ++dia)
      ASSERT_EQ(DiaNaJanela(static_cast<std::uint16_t>(dia), hoje), dia) << hoje;
  }
}

// With the clock on any day from 2026 to 2099, every day of the window goes
// to 16 bits and back unchanged, the window ends ten years after today and
// the day after it wraps onto the window's first day.
TEST(JanelaDatas, CadaDiaDaJanelaIdaEVoltaDe2026a2099) {
  for (unsigned ano = 2026; ano <= 2099; ++ano) {
    for (const auto& [dia, mes] : {std::pair{1u, 1u}, {29u, 2u}, {6u, 12u}, {31u, 12u}}) {
      const NumeroDia hoje = CodificaDia(dia, mes, ano);
      const DiaMesAno fim = DecodificaDia(FimDaJanela(hoje));
      ASSERT_EQ(fim.ano, ano + 10);
      ASSERT_EQ(fim.mes, mes);
      // 29 February with no leap year ten years on ends on the 28th.
      ASSERT_EQ(fim.dia, DiasDoMes(mes, ano + 10) < DecodificaDia(hoje).dia ? 28u : DecodificaDia(hoje).dia);
      ASSERT_EQ(FimDaJanela(hoje) - InicioDaJanela(hoje), 65534);
      for (NumeroDia d = InicioDaJanela(hoje); d <= FimDaJanela(hoje); ++d)
        ASSERT_EQ(DiaNaJanela(DiaDezesseisBits(d), hoje), d) << TextoData(hoje, true) << " " << TextoData(d, true);
      EXPECT_EQ(DiaNaJanela(DiaDezesseisBits(FimDaJanela(hoje) + 1), hoje), InicioDaJanela(hoje));
      EXPECT_EQ(DiaNaJanela(0, hoje), 0);
    }
  }
}

TEST(JanelaDatas, AnosDeDoisDigitos) {
  struct Caso {
    unsigned doisDigitos, anoHoje, ano;
  } casos[] = {
      // Before 2017 the hundred years are 1927..2026, the day numbers' own.
      {26, 2013, 2026}, {27, 2013, 1927}, {0, 2016, 2000}, {99, 2016, 1999},
      // In 2017 they slide: 1928..2027.
      {27, 2017, 2027}, {28, 2017, 1928},
      // In 2026: 1937..2036, each end and each side of it.
      {36, 2026, 2036}, {37, 2026, 1937}, {0, 2026, 2000}, {26, 2026, 2026}, {27, 2026, 2027}, {99, 2026, 1999},
      {37, 2027, 2037}, {38, 2027, 1938},
      // In 2090: 2001..2100.
      {0, 2090, 2100}, {1, 2090, 2001}, {91, 2090, 2091}, {99, 2090, 2099},
      // Four digits stay as they are.
      {2031, 2026, 2031}, {1927, 2090, 1927},
  };
  for (const auto& c : casos)
    EXPECT_EQ(AnoNaJanela(c.doisDigitos, c.anoHoje), c.ano) << c.doisDigitos << " " << c.anoHoje;
  for (unsigned anoHoje = 1990; anoHoje <= 2200; ++anoHoje) {
    const unsigned fim = anoHoje + 10 < 2026 ? 2026 : anoHoje + 10;
    for (unsigned aa = 0; aa < 100; ++aa) {
      const unsigned ano = AnoNaJanela(aa, anoHoje);
      ASSERT_EQ(ano % 100, aa);
      ASSERT_LE(ano, fim);
      ASSERT_GT(ano + 100, fim);
    }
  }
}

// The exported texts read the program's 16-bit numbers in the window of the
// library clock, and follow it when it moves.
TEST(JanelaDatas, ExportacoesSeguemORelogio) {
  testes::RegistroTemporario registro(testes::RelogioSimulado("06/12/2026", "10:00:00"));
  EXPECT_EQ(LeDiaDezesseisBits(1), CodificaDia(5, 6, 2027));
  EXPECT_EQ(LeAnoDoisDigitos(36), 2036u);
  for (const auto& [numero, quatroDigitos, texto] :
       {std::tuple<std::uint16_t, bool, const char*>{0, true, "00/00/0000"}, {0, false, "00/00/00"},
        {65380, true, "31/12/2026"}, {65381, true, "01/01/2027"}, {65381, false, "01/01/27"}, {28856, true, "01/01/1927"}})
    EXPECT_EQ(MontaData(numero, quatroDigitos), texto) << numero << " " << quatroDigitos;
  EXPECT_EQ(CQMXGenerica::InverteData(1, true), "20270605");
  // The C helpers: a date to its number and back, both ends of the window
  // on each side, and days the calendar lacks (-1: a number, whichever).
  const struct {
    std::uint16_t dia, mes, ano;
    int numero;
  } datas[] = {{31, 12, 2026, 65380}, {1, 1, 2027, 65381}, {5, 6, 2027, 1}, {1, 1, 1927, 28856},
               {29, 2, 2028, -1},     {6, 12, 2036, -1},   {7, 12, 2036, 0}, {5, 7, 1857, -1},
               {4, 7, 1857, 0},       {29, 2, 2027, 0},    {31, 4, 2026, 0}, {0, 1, 2026, 0},
               {1, 13, 2026, 0},      {1, 1, 0, 0}};
  for (const auto& d : datas) {
    const std::uint16_t numero = QMX_NumeroDia(d.dia, d.mes, d.ano);
    const std::string data = std::to_string(d.dia) + "/" + std::to_string(d.mes) + "/" + std::to_string(d.ano);
    EXPECT_TRUE(d.numero >= 0 ? numero == d.numero : numero != 0) << data << ": " << numero;
    std::uint16_t dia = 0, mes = 0, ano = 0;
    ASSERT_EQ(QMX_DataDoNumero(numero, &dia, &mes, &ano), numero != 0);
    if (numero) {
      EXPECT_EQ(std::make_tuple(dia, mes, ano), std::make_tuple(d.dia, d.mes, d.ano)) << data;
    }
  }
  EXPECT_EQ(QMX_DataDoNumero(1, nullptr, nullptr, nullptr), 0);

  // In 2013, the numbers and years of always.
  registro.Reescreve(testes::RelogioSimulado("01/02/2013", "10:00:00"));
  EXPECT_EQ(MontaData(1, true), "01/01/1848");
  EXPECT_EQ(MontaData(65381, true), "01/01/2027");
  EXPECT_EQ(LeAnoDoisDigitos(27), 1927u);

  // In 2030, a program that hands over today's 16-bit number gets 2030;
  // in 2099 too, with the years of 2099 and 2100 apart.
  registro.Reescreve(testes::RelogioSimulado("20/03/2030", "10:00:00"));
  EXPECT_EQ(MontaData(DiaDezesseisBits(CodificaDia(20, 3, 2030)), true), "20/03/2030");
  EXPECT_EQ(CQMXGenerica::InverteData(DiaDezesseisBits(CodificaDia(20, 3, 2030)), true), "20300320");
  registro.Reescreve(testes::RelogioSimulado("31/12/2099", "23:00:00"));
  EXPECT_EQ(MontaData(DiaDezesseisBits(CodificaDia(31, 12, 2099)), true), "31/12/2099");
  EXPECT_EQ(MontaData(DiaDezesseisBits(CodificaDia(1, 3, 2100)), true), "01/03/2100");
  EXPECT_EQ(LeAnoDoisDigitos(0), 2100u);
}

// A date edit reads four-digit years and two-digit ones (in the hundred
// years of today), and only the days the 16-bit numbers reach today, both
// ends included.
TEST(JanelaDatas, EditDeData) {
  const NumeroDia dezembro2026 = CodificaDia(6, 12, 2026);
  const NumeroDia em2095 = CodificaDia(1, 1, 2095);
  struct Caso {
    const char* texto;
    NumeroDia hoje, dia;
  } casos[] = {
      {"06/12/2036", dezembro2026, CodificaDia(6, 12, 2036)}, {"07/12/2036", dezembro2026, 0},
      {"05/07/1857", dezembro2026, CodificaDia(5, 7, 1857)},  {"04/07/1857", dezembro2026, 0},
      {"1/1/27", dezembro2026, CodificaDia(1, 1, 2027)},      {" 30/11/36 ", dezembro2026, CodificaDia(30, 11, 2036)},
      {"31/12/36", dezembro2026, 0},  // 2036, past the window
      {"1/1/37", dezembro2026, CodificaDia(1, 1, 1937)},      {"29/02/2028", dezembro2026, CodificaDia(29, 2, 2028)},
      {"29/02/2027", dezembro2026, 0}, {"31/04/2027", dezembro2026, 0}, {"1/13/27", dezembro2026, 0},
      {"5/1/202", dezembro2026, 0},    {"5/1/2027/", dezembro2026, 0},
      {"28/02/2100", em2095, CodificaDia(28, 2, 2100)},
      {"29/02/00", em2095, 0},  // 2100 is no leap year
      {"29/02/96", em2095, CodificaDia(29, 2, 2096)},
  };
  for (const auto& c : casos) EXPECT_EQ(ui::CZTEditData::LeData(c.texto, c.hoje), c.dia) << c.texto;
  EXPECT_EQ(ui::CZTEditData::TextoData(CodificaDia(5, 1, 2027), 1), "05/01/27");
  EXPECT_EQ(ui::CZTEditData::TextoData(CodificaDia(5, 1, 2027), 0), "05/01/2027");
  EXPECT_EQ(ui::CZTEditData::TextoData(0, 0), "");
}

}  // namespace
