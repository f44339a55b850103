#include <gtest/gtest.h>

#include "plataforma/calendario/DataCodificada.h"
#include "frame/QMXUTIL.h"

using namespace qmx;

namespace {

bool Bissexto(int ano) { return ano % 4 == 0 && (ano % 100 != 0 || ano % 400 == 0); }

TEST(DataCodificada, TodoDiaDe1927a2026IdaEVolta) {
  static constexpr int kDias[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::uint16_t anterior = 0;
  for (int ano = 1927; ano <= 2026; ++ano) {
    for (int mes = 1; mes <= 12; ++mes) {
      const int dias = kDias[mes - 1] + (mes == 2 && Bissexto(ano) ? 1 : 0);
      for (int dia = 1; dia <= dias; ++dia) {
        const std::uint16_t numero = CodificaDia(dia, mes, ano);
        const DiaMesAno volta = DecodificaDia(numero);
        ASSERT_EQ(volta.dia, dia) << dia << "/" << mes << "/" << ano;
        ASSERT_EQ(volta.mes, mes) << dia << "/" << mes << "/" << ano;
        ASSERT_EQ(volta.ano, ano) << dia << "/" << mes << "/" << ano;
        // Consecutive days, across the pivot between 1999 and 2000 too.
        if (anterior != 0) {
          ASSERT_EQ(numero, anterior + 1);
        }
        anterior = numero;
      }
    }
  }
}

TEST(DataCodificada, ValoresConhecidosEVoltasDe16Bits) {
  EXPECT_EQ(CodificaDia(1, 1, 1927), 28856);
  EXPECT_EQ(CodificaDia(1, 1, 2000), 55519);
  EXPECT_EQ(CodificaDia(31, 12, 1999), 55518);
  EXPECT_EQ(CodificaDia(31, 12, 2026), 65380);
  EXPECT_EQ(CodificaDia(0, 0, 0), 0);
  const DiaMesAno depois = DecodificaDia(65381);
  EXPECT_EQ(depois.dia, 1);
  EXPECT_EQ(depois.mes, 1);
  EXPECT_EQ(depois.ano, 1927);
  const DiaMesAno primeiro = DecodificaDia(1);
  EXPECT_EQ(primeiro.dia, 1);
  EXPECT_EQ(primeiro.mes, 1);
  EXPECT_EQ(primeiro.ano, 1848);
  // 1900 counts as a leap year in this encoding.
  const DiaMesAno fevereiro = DecodificaDia(static_cast<std::uint16_t>(CodificaDia(28, 2, 1900) + 1));
  EXPECT_EQ(fevereiro.dia, 29);
  EXPECT_EQ(fevereiro.mes, 2);
  const DiaMesAno nenhum = DecodificaDia(0);
  EXPECT_EQ(nenhum.ano, 0);
}

TEST(DataCodificada, DiaImpossivelELimitado) {
  EXPECT_EQ(CodificaDia(31, 4, 2010), CodificaDia(30, 4, 2010));
  EXPECT_EQ(CodificaDia(29, 2, 2010), CodificaDia(28, 2, 2010));
  EXPECT_EQ(CodificaDia(30, 2, 2012), CodificaDia(29, 2, 2012));
  EXPECT_EQ(CodificaDia(1, 13, 2010), 0);
}

TEST(DataCodificada, CodigoDeMes) {
  for (int ano = 1927; ano <= 2026; ++ano) {
    for (int mes = 1; mes <= 12; ++mes) {
      const DiaMesAno volta = DecodificaMes(CodificaMes(mes, ano));
      ASSERT_EQ(volta.mes, mes);
      ASSERT_EQ(volta.ano, ano);
    }
  }
  EXPECT_EQ(CodificaMes(12, 1999) + 1, CodificaMes(1, 2000));
  EXPECT_EQ(DecodificaMes(0).mes, 0);
}

TEST(DataCodificada, TextosExportados) {
  EXPECT_EQ(MontaData(0, true), "00/00/0000");
  EXPECT_EQ(MontaData(0, false), "00/00/00");
  EXPECT_EQ(MontaData(CodificaDia(5, 3, 2024), true), "05/03/2024");
  EXPECT_EQ(MontaData(CodificaDia(5, 3, 2004), false), "05/03/04");
  EXPECT_EQ(MontaHora(std::uint16_t{75}), "01:15");
  EXPECT_EQ(MontaHora(std::uint16_t{0}), "00:00");
  EXPECT_EQ(MontaHora(std::int32_t{93015}, true), "09:30:15");
  EXPECT_EQ(MontaHora(std::int32_t{93015}, false), "09:30");
}

}  // namespace
