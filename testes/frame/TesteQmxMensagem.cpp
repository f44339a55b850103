#include <gtest/gtest.h>

#include <string>

#include "apoio/PastaTemporaria.h"
#include "apoio/ProgramaQmx.h"

namespace {

using qmx::testes::ConfereSaida;
using qmx::testes::Execucao;
using qmx::testes::PastaTemporaria;
using qmx::testes::Qmx;

TEST(QmxMensagem, FaltasEErrosDeUso) {
  PastaTemporaria pasta;
  ConfereSaida(Qmx("mensagem EC 122 --pasta '" + pasta.Pasta().string() + "'"), 1,
               {"N\xC3\xA3o foi poss\xC3\xADvel abrir o arquivo texto de Mensagens " + pasta.Caminho("ZTECMens.txt")});
  // The catalogues installed with the build answer without a registry.
  ConfereSaida(Qmx("--registro '" + pasta.Caminho("nenhum.ini") + "' mensagem EC 4"), 1,
               {"Mensagem 4 n\xC3\xA3o encontrada"});
  EXPECT_EQ(Qmx("mensagem ECF 110").codigo, 2);
  EXPECT_EQ(Qmx("mensagem EC").codigo, 2);
  EXPECT_EQ(Qmx("mensagem EC -3").codigo, 2);
}

}  // namespace
