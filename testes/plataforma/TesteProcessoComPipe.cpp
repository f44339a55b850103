#include <gtest/gtest.h>

#include "plataforma/com/HResult.h"
#include "plataforma/processo/ProcessoComPipe.h"

namespace {

using qmx::processo::ExecutaComPipe;

TEST(ProcessoComPipe, SaidaEErroNoMesmoCano) {
  std::string saida;
  ASSERT_EQ(ExecutaComPipe({"sh", "-c", "printf 'um\\n'; printf 'dois\\n' >&2; printf tres; exit 3"}, saida), 0u);
  EXPECT_EQ(saida, "um\ndois\ntres");  // the exit code is not a failure of the run
}

TEST(ProcessoComPipe, SaidaMaiorQueOCano) {
  std::string saida;
  ASSERT_EQ(ExecutaComPipe({"sh", "-c", "head -c 300000 /dev/zero | tr '\\0' x"}, saida), 0u);
  EXPECT_EQ(saida, std::string(300000, 'x'));
}

TEST(ProcessoComPipe, ArgumentosSemInterpretador) {
  std::string saida;
  ASSERT_EQ(ExecutaComPipe({"printf", "%s|", "a b", "$HOME", "; rm"}, saida), 0u);
  EXPECT_EQ(saida, "a b|$HOME|; rm|");
}

TEST(ProcessoComPipe, ProgramaInexistente) {
  std::string saida = "resto";
  EXPECT_EQ(ExecutaComPipe({"qmx-programa-que-nao-existe"}, saida), qmx::com::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(saida, "");
  EXPECT_EQ(ExecutaComPipe({}, saida), qmx::com::ERROR_INVALID_PARAMETER);
}

}  // namespace
