#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "apoio/RegistroTemporario.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/RelogioBiblioteca.h"
#include "frame/ZTException.h"

namespace {

using qmx::CQMXRelogio;
using qmx::FILETIME;
using qmx::SYSTEMTIME;
using qmx::testes::RegistroTemporario;

SYSTEMTIME Campos(int ano, int mes, int dia, int hora = 0, int minuto = 0, int segundo = 0, int ms = 0) {
  const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
  return {.wYear = u(ano), .wMonth = u(mes), .wDay = u(dia), .wHour = u(hora), .wMinute = u(minuto),
          .wSecond = u(segundo), .wMilliseconds = u(ms)};
}

FILETIME Ticks(const SYSTEMTIME& c) {
  FILETIME t = 0;
  EXPECT_EQ(qmx::SystemTimeToFileTime(c, t), 0u);
  return t;
}

TEST(TempoArquivo, ValoresConhecidosEIdaEVolta) {
  EXPECT_EQ(Ticks(Campos(1601, 1, 1)), 0u);
  EXPECT_EQ(Ticks(Campos(1980, 1, 1)), 0x01A8E79FE1D58000ull);
  EXPECT_EQ(Ticks(Campos(2002, 5, 1, 12)), 0x01C1F107B82B6000ull);
  EXPECT_EQ(Ticks(Campos(2002, 7, 26, 11, 55, 32, 123)), 0x01C2349B580716B0ull);
  for (const SYSTEMTIME& c : {Campos(1601, 1, 1), Campos(2000, 2, 29, 23, 59, 59, 999), Campos(1900, 3, 1),
                              Campos(2100, 12, 31, 1, 2, 3, 4), Campos(30827, 12, 31, 23, 59, 59, 999)}) {
    SYSTEMTIME volta;
    ASSERT_EQ(qmx::FileTimeToSystemTime(Ticks(c), volta), 0u);
    EXPECT_EQ(std::tuple(volta.wYear, volta.wMonth, volta.wDay, volta.wHour, volta.wMilliseconds),
              std::tuple(c.wYear, c.wMonth, c.wDay, c.wHour, c.wMilliseconds));
  }
  SYSTEMTIME c;
  qmx::FileTimeToSystemTime(0, c);
  EXPECT_EQ(c.wDayOfWeek, 1);  // 1 January 1601 was a Monday
  qmx::FileTimeToSystemTime(Ticks(Campos(2014, 3, 15)), c);
  EXPECT_EQ(c.wDayOfWeek, 6);  // a Saturday
  EXPECT_EQ(qmx::FileTimeToSystemTime(0x8000000000000000ull, c), 87u);
}

TEST(TempoArquivo, DatasImpossiveis) {
  FILETIME t = 0;
  for (const SYSTEMTIME& c : {Campos(2013, 0, 1), Campos(2013, 13, 1), Campos(2013, 1, 0), Campos(2013, 2, 29),
                              Campos(1900, 2, 29), Campos(2013, 4, 31), Campos(2013, 1, 1, 24),
                              Campos(2013, 1, 1, 0, 60), Campos(2013, 1, 1, 0, 0, 60), Campos(2013, 1, 1, 0, 0, 0, 1000),
                              Campos(1600, 12, 31), Campos(30828, 1, 1)})
    EXPECT_EQ(qmx::SystemTimeToFileTime(c, t), 87u) << c.wYear << "-" << c.wMonth << "-" << c.wDay;
  EXPECT_EQ(qmx::SystemTimeToFileTime(Campos(2000, 2, 29), t), 0u);
}

// The machine's clock at a chosen moment, three hours behind UTC, and the
// machine-wide setting in a registry of the test's own.
class Relogio : public ::testing::Test {
 protected:
  void Agora(const SYSTEMTIME& local) {
    FILETIME t = 0;
    qmx::SystemTimeToFileTime(local, t);
    m_agora = t;
  }
  void Configura(const std::string& valor) {
    m_registro.Reescreve("[SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment]\nZT_DATETIME=" + valor +
                         "\n");
  }
  static std::string Erro(const std::string& configuracao, std::string (*leitura)()) {
    try {
      leitura();
    } catch (const CZTException& excecao) {
      EXPECT_EQ(excecao.GetModulo(), 1u) << configuracao;
      return excecao.what();
    }
    return "(nenhuma)";
  }

  static constexpr std::int64_t kMenosTresHoras = -3LL * 3600 * 10'000'000;
  FILETIME m_agora = 0;
  RegistroTemporario m_registro;
  qmx::RelogioSistemaSubstituido m_relogio{[this] { return qmx::InstanteSistema{m_agora, kMenosTresHoras}; }};
};

// Past 2026 the clock reads on: today's day number, month code and texts of
// 2027, 2099 and 2100. Two-digit years of the setting are read in the
// hundred years of the machine's own year.
TEST_F(Relogio, DepoisDe2026) {
  Agora(Campos(2026, 12, 6, 15, 0));
  Configura("1;05/01/2027;10:00:00:000;06/12/2026;15:00:00:000");
  EXPECT_EQ(CQMXRelogio::PegaDataHoje(), "05/01/2027");
  EXPECT_EQ(CQMXRelogio::PegaDataHoje(true), "05/01/27");
  EXPECT_EQ(CQMXRelogio::PegaDiaHoje(), 65385);
  EXPECT_EQ(CQMXRelogio::PegaMesAno(), "01/2027");
  EXPECT_EQ(CQMXRelogio::PegaCodigoMes(), 179 * 12 + 1);
  Configura("1;05/01/27;10:00:00:000;06/12/26;15:00:00:000");
  EXPECT_EQ(CQMXRelogio::PegaDataHoje(), "05/01/2027");
  Configura("1;05/01/37;10:00:00:000;06/12/26;15:00:00:000");
  EXPECT_EQ(CQMXRelogio::PegaDataHoje(), "05/01/1937");
  Configura("1;31/12/2099;23:59:00:000;06/12/2026;15:00:00:000");
  EXPECT_EQ(CQMXRelogio::PegaDiaHoje(), 92043);
  Agora(Campos(2026, 12, 6, 15, 1));
  EXPECT_EQ(CQMXRelogio::PegaDataHoje(), "01/01/2100");
  EXPECT_EQ(CQMXRelogio::PegaDiaHoje(), 92044);
  EXPECT_EQ(CQMXRelogio::PegaCodigoMes(), 252 * 12 + 1);
  // A machine before 2017 reads 27 as 1927.
  Agora(Campos(2014, 3, 15, 9, 45));
  Configura("1;01/02/27;10:00:00:000;15/03/14;09:30:00:000");
  EXPECT_EQ(CQMXRelogio::PegaDataHoje(), "01/02/1927");
}

TEST_F(Relogio, ConfiguracoesImpossiveisLancam) {
  Agora(Campos(2014, 3, 15, 9, 45));
  const std::string textoConversao =
      "Helper_SystemTimeToFileTime: SystemTimeToFileTime\nErro do SO: 87 - O par\xE2metro est\xE1 incorreto.";
  for (const char* configuracao : {"1;29/02/2013;10:00:00:000;15/03/2014;09:30:00:000",
                                   "1;01/02/2013;10:00:00:000;31/04/2014;09:30:00:000",
                                   "1;01/-1/2013;10:00:00:000;15/03/2014;09:30:00:000",  // -1 reads as 65535
                                   "1;01/02/2013;24:00:00:000;15/03/2014;09:30:00:000",
                                   "1;01/02/99999999999;10:00:00:000;15/03/2014;09:30:00:000"}) {
    Configura(configuracao);
    EXPECT_EQ(Erro(configuracao, &CQMXRelogio::PegaHoraTexto), textoConversao) << configuracao;
  }
  // The fields are 16-bit: month 65537 is January.
  Configura("1;01/65537/2013;10:00:00:000;15/03/2014;09:30:00:000");
  EXPECT_EQ(CQMXRelogio::PegaDataHoje(), "01/01/2013");
  // Simulated instant before 1601 once real time is added: no calendar fields.
  Configura("1;01/01/1601;00:00:00:000;15/03/2014;09:50:00:000");
  EXPECT_EQ(Erro("antes de 1601", &CQMXRelogio::PegaHoraTexto),
            "GetCurrentTime_LocalTime: FileTimeToSystemTime\nErro do SO: 87 - O par\xE2metro est\xE1 incorreto.");
  // Far past the last year: the local time overflows; so does its UTC form.
  Configura("1;31/12/30827;23:59:59:999;01/01/1601;00:00:00:000");
  EXPECT_EQ(Erro("depois de 30827", [] { return std::to_string(CQMXRelogio::PegaAgoraUtc()); }),
            "GetCurrentTime_SystemTimeAsFileTime: LocalFileTimeToFileTime\nErro do SO: 87 - O par\xE2metro est\xE1 "
            "incorreto.");
  EXPECT_EQ(Erro("depois de 30827", [] { return std::to_string(CQMXRelogio::PegaHoraUtc().wYear); }),
            "GetCurrentTime_SystemTimeAsFileTime: LocalFileTimeToFileTime\nErro do SO: 87 - O par\xE2metro est\xE1 "
            "incorreto.");
}

TEST(RelogioDaMaquina, HoraLocalPlausivel) {
  // Without a setting and without a substitute, the machine's own clock.
  RegistroTemporario registro;
  const SYSTEMTIME agora = CQMXRelogio::PegaHoraLocal();
  EXPECT_GE(agora.wYear, 2024);
  EXPECT_LE(agora.wHour, 23);
  const std::int64_t distancia =
      static_cast<std::int64_t>(CQMXRelogio::PegaAgoraUtc()) - static_cast<std::int64_t>(CQMXRelogio::PegaAgoraLocal());
  EXPECT_LE(std::llabs(distancia), 15LL * 3600 * 10'000'000);  // no time zone is further from UTC
  // The machine's local time is read as calendar fields down to the
  // millisecond: the clock never carries a finer part.
  for (int leitura = 0; leitura < 3; ++leitura) {
    EXPECT_EQ(CQMXRelogio::PegaAgoraLocal() % 10'000, 0u);
    EXPECT_EQ(CQMXRelogio::PegaAgoraUtc() % 10'000, 0u);
  }
}

}  // namespace
