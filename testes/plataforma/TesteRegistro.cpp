#include <gtest/gtest.h>

#include "apoio/RegistroTemporario.h"
#include "plataforma/registro/Registro.h"

using qmx::registro::Registro;
using qmx::testes::RegistroTemporario;

namespace {

constexpr const char* kChave = "SOFTWARE\\ZT Redudeva\\Torvo ECF";

TEST(Registro, LeValoresSemDiferenciarMaiusculas) {
  RegistroTemporario registro(
      "; comentário\n"
      "[SOFTWARE\\ZT Redudeva\\Torvo ECF]\r\n"
      "Path=C:\\Torvo\\\r\n"
      "[SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal]\n"
      "Modelo = EMULADA \n");
  EXPECT_EQ(Registro::LeTexto(kChave, "Path"), "C:\\Torvo\\");
  EXPECT_EQ(Registro::LeTexto("software\\zt redudeva\\TORVO ECF\\", "PATH"), "C:\\Torvo\\");
  EXPECT_EQ(Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal", "modelo"), "EMULADA");
  // A value of a subkey is not a value of its parent, nor the other way round.
  EXPECT_FALSE(Registro::LeValor(kChave, "Modelo"));
  EXPECT_FALSE(Registro::LeValor("SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal", "Path"));
  EXPECT_TRUE(Registro::ExisteChave("Software\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal"));
#if !defined(_WIN32)  // in the system's registry a key's parents always exist
  EXPECT_FALSE(Registro::ExisteChave("SOFTWARE\\ZT Redudeva"));
#endif
}

TEST(Registro, ArquivoChaveOuValorAusentesLemVazio) {
  RegistroTemporario registro("[A]\nx=1\n");
  EXPECT_FALSE(Registro::LeValor("B", "x"));
  EXPECT_FALSE(Registro::LeValor("A", "y"));
  EXPECT_EQ(Registro::LeTexto("A", "y"), "");
#if !defined(_WIN32)  // the file stand-in: no file, no registry
  std::filesystem::remove(registro.Caminho());
  EXPECT_FALSE(Registro::LeValor("A", "x"));
  EXPECT_FALSE(Registro::ExisteChave("A"));
#endif
}

TEST(Registro, TextoUtf8VoltaEmWindows1252) {
  // "Região" and "São" written in UTF-8; a file that is not UTF-8 is taken as is.
  RegistroTemporario registro("[Empresas\\S\xC3\xA3o Paulo]\nNome=Regi\xC3\xA3o\n");
  EXPECT_EQ(Registro::LeTexto("Empresas\\S\xE3o Paulo", "Nome"), "Regi\xE3o");
  registro.Reescreve("[A]\nNome=Regi\xE3o\n");
  EXPECT_EQ(Registro::LeTexto("A", "Nome"), "Regi\xE3o");
}

}  // namespace
