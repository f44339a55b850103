// A program run with its output and errors on one pipe (CreateProcess), as
// the ping diagnostic runs on Windows.
#include <gtest/gtest.h>

#include <string>

#include "plataforma/processo/ProcessoComPipe.h"

namespace {

using qmx::processo::ExecutaComPipe;

TEST(ProcessoComPipeWin32, SaidaEErrosNoMesmoPipeEArgumentosComBrancos) {
  std::string saida = "restos";
  ASSERT_EQ(ExecutaComPipe({"cmd", "/c", "echo um& echo dois 1>&2"}, saida), 0u);
  EXPECT_EQ(saida, "um\r\ndois \r\n");
  // An argument with blanks and quotes reaches the program whole.
  ASSERT_EQ(ExecutaComPipe({"cmd", "/c", "echo", "a b \"c\""}, saida), 0u);
  EXPECT_NE(saida.find("a b"), std::string::npos) << saida;
}

TEST(ProcessoComPipeWin32, ProgramaAusenteOuSemNome) {
  std::string saida = "restos";
  EXPECT_EQ(ExecutaComPipe({"programa-que-nao-existe-qmx"}, saida), 2u);  // ERROR_FILE_NOT_FOUND
  EXPECT_EQ(saida, "");
  EXPECT_EQ(ExecutaComPipe({}, saida), 87u);  // ERROR_INVALID_PARAMETER
  EXPECT_EQ(ExecutaComPipe({""}, saida), 87u);
}

TEST(ProcessoComPipeWin32, PingDoWindowsSemOpcoesComQuatroEcos) {
  EXPECT_EQ(qmx::processo::ComandoPing("servidor-dados"), (std::vector<std::string>{"ping", "servidor-dados"}));
  EXPECT_FALSE(qmx::processo::CaminhoPrograma().empty());
  EXPECT_NE(qmx::processo::CaminhoPrograma().find("qmx_testes.exe"), std::string::npos);
}

}  // namespace
