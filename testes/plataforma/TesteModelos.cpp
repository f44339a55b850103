#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "plataforma/ui/ModuloRecursos.h"

using namespace qmx::ui;

namespace {

// The file dialogs' captions are checked where they open
// (Exportacoes.ResultadosDeDialogosCancelados); here the two no export opens.
TEST(Modelos, CadaDialogoDaBibliotecaTemSeuModeloETitulo) {
  const std::map<int, std::string> esperados = {
      {14024, ""},  // set at run time
      {14029, "Torvo ECF - Escrituração Fiscal Digital"},
  };
  const auto& biblioteca = ModuloBiblioteca();
  for (const auto& [id, titulo] : esperados) {
    const ModeloDialogo* modelo = biblioteca.Modelo(id);
    ASSERT_NE(modelo, nullptr) << id;
    EXPECT_EQ(modelo->titulo, titulo) << id;
  }
  EXPECT_NE(biblioteca.Modelo(14027), nullptr);
  EXPECT_NE(biblioteca.Modelo(14031), nullptr);
}

// Every control id that the code names next to its dialog's template id
// (IDD = n, IDC_... = m in one source) must exist in that template.
TEST(Modelos, CodigoSoUsaControlesQueOModeloTem) {
  const std::filesystem::path raiz = QMX_FONTES_RAIZ;
  const std::regex idd(R"(IDD\s*=\s*(\d+))");
  const std::regex idc(R"((IDC_\w+)\s*=\s*(\d+))");
  int verificados = 0;
  for (const char* pasta : {"frame", "arquivos", "dialogos", "fisco", "integracao"}) {
    if (!std::filesystem::exists(raiz / pasta)) continue;
    for (const auto& entrada : std::filesystem::directory_iterator(raiz / pasta)) {
      std::ifstream arquivo(entrada.path());
      std::stringstream texto;
      texto << arquivo.rdbuf();
      const std::string fonte = texto.str();
      std::smatch achado;
      if (!std::regex_search(fonte, achado, idd)) continue;
      const int idModelo = std::stoi(achado[1]);
      const ModeloDialogo* modelo = ModuloBiblioteca().Modelo(idModelo);
      ASSERT_NE(modelo, nullptr) << entrada.path() << " usa o modelo " << idModelo;
      for (std::sregex_iterator it(fonte.begin(), fonte.end(), idc), fim; it != fim; ++it) {
        EXPECT_NE(modelo->Controle(std::stoi((*it)[2])), nullptr)
            << entrada.path().filename() << ": " << (*it)[1] << " falta no modelo " << idModelo;
        ++verificados;
      }
    }
  }
  EXPECT_GT(verificados, 0);
}

TEST(Modelos, ErrosDeSintaxeDizemALinha) {
  EXPECT_THROW(ModeloDialogo::Analisa("10 DIALOG 0, 0, 1, 1\n"), std::runtime_error);
  EXPECT_THROW(ModeloDialogo::Analisa("10 DIALOGEX 0, 0, 1, 1\nBEGIN\n"), std::runtime_error);
  EXPECT_THROW(ModeloDialogo::Analisa("10 DIALOGEX 0, 0, 1, 1\nBEGIN\nCONTROL \"a\", 5, \"Edit\", X, 1, 2, 3\nEND\n"),
               std::runtime_error);
  try {
    ModeloDialogo::Analisa(
        "10 DIALOGEX 0, 0, 1, 1\nBEGIN\nCONTROL \"a\", 5, \"Edit\", X, 1, 2, 3, 4\n"
        "CONTROL \"b\", 5, \"Edit\", X, 1, 2, 3, 4\nEND\n");
    FAIL() << "controle repetido aceito";
  } catch (const std::runtime_error& erro) {
    EXPECT_NE(std::string(erro.what()).find("linha 4"), std::string::npos) << erro.what();
  }
  const auto modelos = ModeloDialogo::Analisa(
      "// c\n10 DIALOGEX 0, 0, 1, 1\nCAPTION \"Diz \"\"oi\"\"\"\nBEGIN\n"
      "CONTROL \"x\", -1, \"Static\", SS_LEFT, 1, 2, 3, 4\nCONTROL \"y\", -1, \"Static\", SS_LEFT, 1, 9, 3, 4\nEND\n");
  ASSERT_EQ(modelos.size(), 1u);
  EXPECT_EQ(modelos[0].titulo, "Diz \"oi\"");
  EXPECT_EQ(modelos[0].controles.size(), 2u);
}

}  // namespace
