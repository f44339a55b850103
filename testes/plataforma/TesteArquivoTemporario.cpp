#include <gtest/gtest.h>

#include <ctime>
#include <utime.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <vector>

#include "apoio/PastaTemporaria.h"
#include "plataforma/arquivos/ArquivoTemporario.h"
#include "plataforma/arquivos/GravacaoAtomica.h"
#include "plataforma/texto/CaminhoArquivo.h"

using qmx::ArquivoTemporario;
using qmx::GravacaoAtomica;
using qmx::testes::PastaTemporaria;
namespace fs = std::filesystem;

namespace {

TEST(ArquivoTemporario, NomesComoNoWindowsESemRepetir) {
  PastaTemporaria pasta;
  const std::string base = qmx::texto::CaminhoWindows(pasta.Pasta().string()) + "\\";
  std::set<std::string> criados;
  std::vector<std::unique_ptr<ArquivoTemporario>> vivos;
  for (int i = 0; i < 100; ++i) {
    vivos.push_back(std::make_unique<ArquivoTemporario>());
    ASSERT_TRUE(vivos.back()->Cria(base, "txtabc")) << i;
    const std::string nome = vivos.back()->Caminho().substr(base.size());
    EXPECT_TRUE(std::regex_match(nome, std::regex("txt[1-9A-F][0-9A-F]{0,3}\\.tmp"))) << nome;
    EXPECT_TRUE(criados.insert(nome).second) << nome;
    EXPECT_TRUE(fs::exists(qmx::texto::CaminhoNativo(vivos.back()->Caminho())));
  }
  ArquivoTemporario semPasta;
  EXPECT_FALSE(semPasta.Cria(base + "nao-existe\\", "txt"));
  // Each goes with its object, unless kept; a kept one stays with its
  // mark, which nobody holds: a leftover that a cleaning counts and
  // removes once it is no longer new.
  const std::string mantido = qmx::texto::CaminhoNativo(vivos.front()->Caminho());
  vivos.front()->Mantem();
  vivos.clear();
  EXPECT_EQ(std::distance(fs::directory_iterator(pasta.Pasta()), fs::directory_iterator()), 2);
  EXPECT_TRUE(fs::exists(mantido));
  const auto limpeza = ArquivoTemporario::LimpaAbandonados(pasta.Pasta().string(), std::time(nullptr) + 3600);
  EXPECT_EQ(limpeza.arquivos, 1u);
  EXPECT_FALSE(fs::exists(mantido));
}

// What killed runs left is removed by the next run in the folder (the first
// file this process makes there): a marked
// file whose mark nobody holds and a temporary beside a target that nobody
// holds. A live run's files, a mark made in the last seconds, an empty
// temporary just made and a file without a mark (not the library's) stay.
TEST(ArquivoTemporario, AbandonadosSaemVivosFicam) {
  PastaTemporaria pasta;
  const std::string base = qmx::texto::CaminhoWindows(pasta.Pasta().string()) + "\\";
  const auto velho = [&](const std::string& nome, const std::string& conteudo) {
    const std::string caminho = pasta.Grava(nome, conteudo);
    utimbuf antes{1000000000, 1000000000};
    ::utime(caminho.c_str(), &antes);
  };
  velho("txt1.tmp", std::string(1000, 'x'));
  velho(".txt1.tmp.qmx-dono", "");
  velho("txt2.tmp", "sem marca: de outro programa");
  pasta.Grava("txt3.tmp", "marca recente");
  pasta.Grava(".txt3.tmp.qmx-dono", "");
  velho(".Sintegra.txt.qmx-parcial-AbC123", std::string(500, 'y'));
  pasta.Grava(".Sintegra.txt.qmx-parcial-XyZ789", "");
  ArquivoTemporario vivo;
  ASSERT_TRUE(vivo.Cria(base, "txt"));
  std::set<std::string> restantes;
  for (const auto& entrada : fs::directory_iterator(pasta.Pasta())) restantes.insert(entrada.path().filename().string());
  const std::string nomeVivo = vivo.Caminho().substr(base.size());
  EXPECT_EQ(restantes, (std::set<std::string>{"txt2.tmp", "txt3.tmp", ".txt3.tmp.qmx-dono",
                                              ".Sintegra.txt.qmx-parcial-XyZ789", nomeVivo,
                                              "." + nomeVivo + ArquivoTemporario::kMarca}));
  // Once those seconds are past, the recent mark's file and the empty
  // temporary go as well; the live run's file stays.
  EXPECT_EQ(ArquivoTemporario::LimpaAbandonados(pasta.Pasta().string(), 2000000000).bytes, 13u);
  EXPECT_EQ(GravacaoAtomica::LimpaAbandonados(pasta.Pasta().string(), 2000000000).arquivos, 1);
  EXPECT_TRUE(fs::exists(qmx::texto::CaminhoNativo(vivo.Caminho())));
  EXPECT_TRUE(fs::exists(pasta.Caminho("txt2.tmp")));
}

// A folder is swept once per process, then once a minute has passed by the
// file system's time (to the second), and at once when that clock went back.
TEST(ArquivoTemporario, CadaPastaVarridaUmaVezPorMinuto) {
  using G = GravacaoAtomica;
  const std::string pasta = "/pasta-que-ninguem-varreu", outra = pasta + "-outra";
  const std::int64_t t = 1800000000;
  EXPECT_TRUE(G::HoraDeLimpar(pasta, t));
  EXPECT_FALSE(G::HoraDeLimpar(pasta, t));
  EXPECT_FALSE(G::HoraDeLimpar(pasta, t + G::kSegundosEntreLimpezas - 1));
  EXPECT_TRUE(G::HoraDeLimpar(outra, t + 1));
  EXPECT_TRUE(G::HoraDeLimpar(pasta, t + G::kSegundosEntreLimpezas));
  EXPECT_FALSE(G::HoraDeLimpar(pasta, t + G::kSegundosEntreLimpezas + 1));
  EXPECT_TRUE(G::HoraDeLimpar(pasta, t - 5));
}

}  // namespace
