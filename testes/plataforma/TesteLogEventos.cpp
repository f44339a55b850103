#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "plataforma/eventos/LogEventos.h"

using qmx::eventos::CLogEventos;
using qmx::testes::PastaTemporaria;
using qmx::testes::RegistroTemporario;

namespace {

// What a report writes to standard error, caught through a file.
std::string SaidaDeErro(const std::function<void()>& acao) {
  PastaTemporaria pasta;
  std::fflush(stderr);
  const int copia = ::dup(STDERR_FILENO);
  std::FILE* destino = std::fopen(pasta.Caminho("erro.txt").c_str(), "w");
  ::dup2(::fileno(destino), STDERR_FILENO);
  acao();
  ::dup2(copia, STDERR_FILENO);
  ::close(copia);
  std::fclose(destino);
  return PastaTemporaria::Le(pasta.Caminho("erro.txt"));
}

// An entry goes to the file the registry names, else to the system log,
// else (a machine without one) to standard error: never nowhere.
TEST(LogEventos, ArquivoDoRegistroSenaoSistemaSenaoODoUsuario) {
  PastaTemporaria pasta;
  RegistroTemporario registro("[SOFTWARE\\ZT Redudeva\\Eventos]\nArquivo=" + pasta.Caminho("eventos.log") + "\n");
  CLogEventos log("ZT Redudeva");
  ASSERT_TRUE(log.Registrada());
  const std::string nadaNaSaida = SaidaDeErro([&] {
    EXPECT_TRUE(log.Reporta(qmx::eventos::EVENTLOG_ERROR_TYPE, 0, 7, {"Classe n\xE3o", "registrada\r\nlinha 2"}));
    EXPECT_TRUE(log.Reporta(qmx::eventos::EVENTLOG_WARNING_TYPE, 0, 8, {"segunda"}));
  });
  EXPECT_EQ(nadaNaSaida, "");
  const std::string linhas = PastaTemporaria::Le(pasta.Caminho("eventos.log"));
  // The source with its process, the type, the entry on one line.
  const std::string processo = "ZT Redudeva[" + std::to_string(::getpid()) + "] ";
  EXPECT_EQ(linhas, processo + "erro: evento 7: Classe n\xC3\xA3o registrada  linha 2\n" + processo +
                        "aviso: evento 8: segunda\n");

  // No file configured and no system log: the user's own log file
  // ($XDG_STATE_HOME/qmxutil/eventos.log), never the error output.
  const char* antes = std::getenv("XDG_STATE_HOME");
  const std::string estadoAntes = antes ? antes : "";
  ::setenv("XDG_STATE_HOME", pasta.Caminho("estado").c_str(), 1);
  registro.Reescreve("");
  CLogEventos::DefineSocketSistema(pasta.Caminho("nao-ha-log"));
  const std::string naSaida = SaidaDeErro(
      [&] { EXPECT_TRUE(log.Reporta(qmx::eventos::EVENTLOG_INFORMATION_TYPE, 0, 9, {"sem syslog"})); });
  EXPECT_EQ(naSaida, "");
  EXPECT_EQ(PastaTemporaria::Le(pasta.Caminho("estado/qmxutil/eventos.log")),
            processo + "informa\xC3\xA7\xC3\xA3o: evento 9: sem syslog\n");

  // A configured file that cannot be written does not lose the entry:
  // the user's file takes it; with none, the error output.
  registro.Reescreve("[SOFTWARE\\ZT Redudeva\\Eventos]\nArquivo=" + pasta.Caminho("falta/eventos.log") + "\n");
  ::setenv("XDG_STATE_HOME", pasta.Caminho("um-arquivo").c_str(), 1);
  pasta.Grava("um-arquivo", "x");
  const std::string semArquivo = SaidaDeErro(
      [&] { EXPECT_TRUE(log.Reporta(qmx::eventos::EVENTLOG_ERROR_TYPE, 0, 10, {"pasta ausente"})); });
  CLogEventos::DefineSocketSistema("/dev/log");
  if (antes) ::setenv("XDG_STATE_HOME", estadoAntes.c_str(), 1);
  else ::unsetenv("XDG_STATE_HOME");
  EXPECT_NE(semArquivo.find("evento 10: pasta ausente\n"), std::string::npos) << semArquivo;
}

}  // namespace
