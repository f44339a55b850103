#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "apoio/PastaTemporaria.h"

namespace {

namespace fs = std::filesystem;

// Every "now" of the library comes from its clock: no other source of the
// library reads the machine's time.
TEST(RelogioUnico, NenhumaOutraFonteLeARelogioDaMaquina) {
  const std::regex leitura(
      R"(system_clock::now|\bstd::time\s*\(|[^\w.>]time\s*\(\s*(nullptr|NULL|0|&)|\blocaltime|\bgmtime|gettimeofday|clock_gettime|GetLocalTime|GetSystemTime|CTime::GetCurrentTime)");
  const fs::path raiz = QMX_FONTES_RAIZ;
  const fs::path relogio = raiz / "frame" / "RelogioBiblioteca.cpp";
  int fontes = 0;
  for (const char* pasta : {"frame", "fisco", "calculo", "tef", "arquivos", "integracao", "dialogos", "plataforma"}) {
    if (!fs::exists(raiz / pasta)) continue;
    for (const auto& entrada : fs::recursive_directory_iterator(raiz / pasta)) {
      const auto extensao = entrada.path().extension();
      if (extensao != ".cpp" && extensao != ".h") continue;
      ++fontes;
      if (entrada.path() == relogio) continue;
      std::smatch achado;
      const std::string conteudo = qmx::testes::PastaTemporaria::Le(entrada.path().string());
      EXPECT_FALSE(std::regex_search(conteudo, achado, leitura)) << entrada.path() << ": " << achado.str();
    }
  }
  EXPECT_GT(fontes, 50);
}

}  // namespace
