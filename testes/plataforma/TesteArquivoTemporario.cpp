#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "apoio/PastaTemporaria.h"
#include "plataforma/arquivos/ArquivoTemporario.h"
#include "plataforma/texto/CaminhoArquivo.h"

using qmx::ArquivoTemporario;
using qmx::testes::PastaTemporaria;

namespace {

TEST(ArquivoTemporario, NomesComoNoWindowsESemRepetir) {
  PastaTemporaria pasta;
  const std::string base = qmx::texto::CaminhoWindows(pasta.Pasta().string()) + "\\";
  std::set<std::string> criados;
  for (int i = 0; i < 200; ++i) {
    const auto caminho = ArquivoTemporario::Cria(base, "txtabc");
    ASSERT_TRUE(caminho);
    const std::string nome = caminho->substr(base.size());
    EXPECT_TRUE(std::regex_match(nome, std::regex("txt[1-9A-F][0-9A-F]{0,3}\\.tmp"))) << nome;
    EXPECT_TRUE(criados.insert(nome).second) << nome;
    EXPECT_TRUE(std::filesystem::exists(qmx::texto::CaminhoNativo(*caminho)));
  }
  EXPECT_FALSE(ArquivoTemporario::Cria(base + "nao-existe\\", "txt"));
}

TEST(ArquivoTemporario, PastaDoSistemaTerminaEmBarraInvertida) {
  const auto pasta = ArquivoTemporario::Pasta();
  ASSERT_TRUE(pasta);
  EXPECT_EQ(pasta->back(), '\\');
}

}  // namespace
