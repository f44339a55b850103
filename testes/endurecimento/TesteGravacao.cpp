// Files never half-written: the signature made in place, and names from
// the data kept inside the company's folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/EmpresaTeste.h"
#include "apoio/PastaTemporaria.h"
#include "fisco/AssinaturaEAD.h"
#include "plataforma/dados/ConexaoFileTransfer.h"

using namespace qmx;
using qmx::testes::EmpresaTeste;
using qmx::testes::PastaTemporaria;
namespace fs = std::filesystem;

namespace {

TEST(Gravacao, AssinaturaNoLugarECorteSemLinhaSeConserta) {
  PastaTemporaria pasta;
  const std::string conteudo = "E00|linha um\r\nE01|linha dois\r\n";
  const std::string arquivo = pasta.Grava("a.txt", conteudo);
  const std::string vinculo = pasta.Caminho("b.txt");
  fs::create_hard_link(arquivo, vinculo);  // the same file: signing in place shows through it
  ASSERT_TRUE(AssinaturaEAD::AssinaArquivo(arquivo));
  const std::string assinado = PastaTemporaria::Le(vinculo);
  ASSERT_EQ(assinado.size(), conteudo.size() + 261);
  EXPECT_EQ(assinado.substr(0, conteudo.size()), conteudo);
  EXPECT_EQ(assinado.substr(conteudo.size(), 3), "EAD");
  ASSERT_TRUE(AssinaturaEAD::AssinaArquivo(arquivo));
  EXPECT_EQ(PastaTemporaria::Le(arquivo), assinado);
  // A crash after the cut: the content whole, no line; signing mends it.
  fs::resize_file(arquivo, conteudo.size());
  EXPECT_EQ(PastaTemporaria::Le(arquivo), conteudo);
  ASSERT_TRUE(AssinaturaEAD::AssinaArquivo(arquivo));
  EXPECT_EQ(PastaTemporaria::Le(arquivo), assinado);
  // A line cut short by a crash mid-append is cut as well.
  fs::resize_file(arquivo, conteudo.size() + 100);
  ASSERT_TRUE(AssinaturaEAD::AssinaArquivo(arquivo));
  EXPECT_EQ(PastaTemporaria::Le(arquivo), assinado);
}

// Names from the data never take a file out of the company's folder.
TEST(Gravacao, NomesDosDadosFicamNaPastaDaEmpresa) {
  EmpresaTeste empresa;
  PastaTemporaria origem;
  const std::string local = origem.Grava("gerado.txt", "conteudo");
  dados::CConexaoFileTransfer transferencia;
  ASSERT_EQ(transferencia.Inicializa(empresa.Chave(), 1, 0), com::S_OK);
  const struct {
    const char* nome;
    bool aceito;
  } casos[] = {
      {"Arquivos-Eletronicos\\ok.txt", true},  {"..\\fora.txt", false},
      {"a\\..\\..\\fora.txt", false},          {"/tmp/fora.txt", false},
      {"Arquivos-Eletronicos\\..", false},     {"Arquivos-Eletronicos\\.", false},
      {"nome\x01.txt", false},                 {"nome\x7f.txt", false},
      {"Arquivos-Eletronicos\\ok2.txt", true},
  };
  const fs::path raiz = empresa.Pasta().Pasta();
  const auto antes = std::distance(fs::directory_iterator(raiz), fs::directory_iterator());
  for (const auto& caso : casos) {
    const auto resultado =
        transferencia.Write(dados::CConexaoFileTransfer::kPastaEmpresaEC, local.c_str(),
                            dados::CConexaoFileTransfer::kModoSubstitui, caso.nome);
    EXPECT_EQ(com::SUCCEEDED(resultado), caso.aceito) << caso.nome;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(raiz), fs::directory_iterator()), antes);
  EXPECT_EQ(PastaTemporaria::Le((empresa.PastaEC() / "Arquivos-Eletronicos" / "ok.txt").string()), "conteudo");
  EXPECT_FALSE(fs::exists(empresa.PastaEC() / "fora.txt"));
  EXPECT_FALSE(fs::exists("/tmp/fora.txt"));
}

}  // namespace
