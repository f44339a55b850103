#include <gtest/gtest.h>

#include <string>

#include "apoio/PastaTemporaria.h"
#include "apoio/ProgramaQmx.h"

namespace {

using qmx::testes::ConfereSaida;
using qmx::testes::Execucao;
using qmx::testes::PastaTemporaria;
using qmx::testes::Qmx;

TEST(QmxMensagem, MostraOCatalogoEmUtf8) {
  PastaTemporaria pasta;
  const std::string registro = pasta.Grava(
      "registro.ini", "[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
  const Execucao ec = Qmx("--registro '" + registro + "' mensagem EC 110");
  EXPECT_EQ(ec.codigo, 0);
  // "não", "à" and "período" as UTF-8; the escaped break is a real one.
  EXPECT_EQ(ec.saida,
            "A data final n\xC3\xA3o pode ser anterior \xC3\xA0 data inicial.\n"
            "Corrija o per\xC3\xADodo e tente novamente.\n");
  const Execucao df = Qmx("--registro '" + registro + "' mensagem df 5535");
  EXPECT_EQ(df.codigo, 0);
  EXPECT_EQ(df.saida.find("Este usu\xC3\xA1rio n\xC3\xA3o est\xC3\xA1 vinculado"), 0u) << df.saida;
}

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
