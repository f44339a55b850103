// Files never half-written: the replace-by-rename, the signature made in
// place, and names from the data kept inside the company's folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "apoio/EmpresaTeste.h"
#include "apoio/PastaTemporaria.h"
#include "fisco/AssinaturaEAD.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/arquivos/GravacaoAtomica.h"
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

// Temporaries with something written (an empty one may be a writer's that
// has not locked it yet, and stays a few seconds).
long Parciais(const PastaTemporaria& pasta) {
  long n = 0;
  for (const auto& entrada : fs::directory_iterator(pasta.Pasta()))
    n += entrada.path().filename().string().find(GravacaoAtomica::kMarca) != std::string::npos &&
         fs::file_size(entrada.path()) > 0;
  return n;
}

// A writer killed at random moments leaves no file, the old one or the new
// one, whole, whichever way it stores it (the replacement of a whole
// content, or the text written piece by piece); its temporary goes with
// the next write into the folder.
TEST(Gravacao, EscritorMortoNaoDeixaArquivoPelaMetade) {
  PastaTemporaria pasta;
  const std::string destino = pasta.Caminho("Sintegra.txt");
  const std::string versoes[2] = {std::string(3 << 20, 'a'), std::string(2 << 20, 'b')};
  std::mt19937 sorteio(7);
  bool sobrouParcial = false;
  for (int rodada = 0; rodada < 12; ++rodada) {
    const pid_t filho = ::fork();
    if (filho == 0) {
      for (int i = 0;; ++i) {
        const std::string& v = versoes[i % 2];
        if (rodada % 2) {
          CArquivoTexto texto;
          if (!texto.Abrir(destino, CArquivoTexto::Modo::EscritaBinaria)) continue;
          for (std::size_t p = 0; p < v.size(); p += 4096) texto.EscreverTexto(std::string_view(v).substr(p, 4096));
          texto.Fechar();
        } else {
          GravacaoAtomica::Substitui(destino,
                                     [&](int fd) { return GravacaoAtomica::EscreveTudo(fd, v.data(), v.size()); });
        }
      }
    }
    ::usleep(2000 + sorteio() % 40000);
    ::kill(filho, SIGKILL);
    ::waitpid(filho, nullptr, 0);
    sobrouParcial = sobrouParcial || Parciais(pasta) > 0;
    if (fs::exists(destino)) {
      const std::string lido = PastaTemporaria::Le(destino);
      EXPECT_TRUE(lido == versoes[0] || lido == versoes[1]) << "rodada " << rodada << ": " << lido.size() << " bytes";
    }
  }
  EXPECT_TRUE(sobrouParcial);  // some kill did land mid-write
  ASSERT_TRUE(GravacaoAtomica::Substitui(destino, [](int fd) { return GravacaoAtomica::EscreveTudo(fd, "x", 1); }));
  EXPECT_EQ(Parciais(pasta), 0);
  EXPECT_EQ(PastaTemporaria::Le(destino), "x");
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
