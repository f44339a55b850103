#include <gtest/gtest.h>

#include <filesystem>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "apoio/Linhas.h"
#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "fisco/ArquivoInteiro.h"
#include "fisco/AssinaturaEAD.h"
#include "fisco/ArquivosInstalacao.h"
#include "fisco/ListaArquivosAutenticados.h"
#include "fisco/QMXFisco.h"
#include "fisco/RelatorioIdentificacao.h"

using namespace qmx;
using qmx::testes::PastaTemporaria;
using qmx::testes::RegistroTemporario;

namespace {

std::vector<std::string> Linhas(const std::string& texto) { return qmx::testes::LinhasCRLF(texto); }

class Instalacao : public ::testing::Test {
 protected:
  Instalacao()
      : m_registro("[SOFTWARE\\ZT Redudeva\\Torvo ECF]\nPath=" + m_pasta.Pasta().string() + "\n"
                   "[SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal]\nModelo=EMULADA\nNumeroSerie=EMUL01\n"
                   "PastaRetorno=" + m_pasta.Caminho("ecf") + "\n") {
    m_pasta.Grava("QMVCX.EXE", "abc");
    m_pasta.Grava("qmvdav.exe", "");  // found whatever its letter case
  }
  std::string Pasta() const { return *ArquivosInstalacao::Pasta(); }

  PastaTemporaria m_pasta;
  RegistroTemporario m_registro;
};

TEST_F(Instalacao, PastaDoRegistroTerminaEmBarraInvertida) {
  EXPECT_EQ(Pasta(), m_pasta.Pasta().string() + "\\");
  m_registro.Reescreve("[SOFTWARE\\ZT Redudeva\\Torvo ECF]\nPath=/opt/torvo/\n");
  EXPECT_EQ(Pasta(), "/opt/torvo/");  // already ends in a separator
  m_registro.Reescreve("[SOFTWARE\\ZT Redudeva\\Torvo ECF]\nPath=\n");
  EXPECT_FALSE(ArquivosInstalacao::Pasta());
}

TEST_F(Instalacao, ListaComOnzeN3EBrancosParaOsQueFaltam) {
  const auto linhas = Linhas(ListaArquivosAutenticados::Monta("SP", Pasta()));
  ASSERT_EQ(linhas.size(), 14u);
  EXPECT_EQ(linhas[0], "N127415963000102ISENTO        0048213       ZT Redudeva Tecnologia em Automação Comercial Ltda");
  EXPECT_EQ(linhas[1], "N2ZTR0122026TORVO ECF" + std::string(41, ' ') + "5.2 ERP 5.21");
  // The N3 lines are classified by the file's name.
  for (std::size_t i = 3; i < 13; ++i) EXPECT_LT(linhas[i - 1].substr(2, 50), linhas[i].substr(2, 50)) << i;
  EXPECT_EQ(linhas[3].substr(2, 12), "DARUMA32.DLL");
  EXPECT_EQ(linhas[8], "N3" + std::string("QMVCX.EXE").append(41, ' ') + "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(linhas[9].substr(52), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(linhas[2].substr(52), std::string(32, ' '));  // BEMAFI32.DLL is missing
  EXPECT_EQ(linhas[13], "N927415963000102ISENTO        000011");
  EXPECT_EQ(Linhas(ListaArquivosAutenticados::Monta("AL", Pasta()))[1].substr(62), "5.2.521     ");
}

// No installation folder in the registry: the report's digests stay empty
// even when the program's own folder holds files of the same names.
TEST_F(Instalacao, SemPastaNenhumArquivoDaPastaCorrenteEResumido) {
  const auto anterior = std::filesystem::current_path();
  std::filesystem::current_path(m_pasta.Pasta());
  const auto pecas = RelatorioIdentificacao::Pecas("PE", "", {});
  std::filesystem::current_path(anterior);
  ASSERT_GE(pecas.size(), 4u);
  const std::string separador(48, '-');
  EXPECT_EQ(pecas[0], "\n\r            Identificação do PAF-ECF\n\r\n\r            Nº do Laudo: ZTR0122026\r\n\r\n"
                      "            Identificação da Empresa\r\n" + separador + "\r\n"
                      "Razão Social: ZT Redudeva Tecnologia em Automação Comercial Ltda\r\n"
                      "CNPJ:         27.415.963/0001-02\r\n"
                      "Endereço:     Rua das Acácias, 1200, sala 3, Farol, Maceió - AL\r\n"
                      "Contato:      Marta Albuquerque\r\n"
                      "Telefone:     (82) 3221-0147\r\n\r\n"
                      "              Identificação PAF-ECF\r\n" + separador + "\r\n"
                      "Nome:         Torvo ECF - Versão 5.2 ERP 5.21\r\n"
                      "ER-PAF-ECF: 01.13\r\n"
                      "Executável:   QMVCX.EXE\r\n");
  EXPECT_EQ(pecas[1], "MD-5:         \r\n\r\n");
  EXPECT_NE(pecas[3].find("QMVCX.EXE      \r\n"), std::string::npos);
}

#if !defined(_WIN32)
// Two terminals of one installation write the list at the same moment, one
// for a branch in Alagoas and one elsewhere (different N2 lines): each must
// get the digest of the list it signed, never the other's, since that digest
// goes into the file it is generating.
TEST_F(Instalacao, ListaFeitaPorDoisProcessosAoMesmoTempo) {
  const std::string caminho = ArquivosInstalacao::Caminho(Pasta(), ListaArquivosAutenticados::kNomeArquivo);
  std::string esperado[2];
  const char* ufs[2] = {"SP", "AL"};
  for (int i = 0; i < 2; ++i) {
    const auto digest = ListaArquivosAutenticados::Gera(ufs[i], Pasta());
    ASSERT_TRUE(digest);
    const auto gravado = ArquivoInteiro::Le(caminho);
    ASSERT_TRUE(gravado);
    char doArquivo[33] = {};
    ASSERT_TRUE(CQMXFisco().GerarMD5Arquivo(caminho.c_str(), doArquivo));
    EXPECT_EQ(*digest, doArquivo);
    EXPECT_EQ(AssinaturaEAD::TamanhoCoberto(*gravado), ListaArquivosAutenticados::Monta(ufs[i], Pasta()).size());
    esperado[i] = *digest;
  }
  ASSERT_NE(esperado[0], esperado[1]);
  const pid_t filho = fork();
  ASSERT_GE(filho, 0);
  const int eu = filho == 0 ? 1 : 0;
  int trocados = 0;
  for (int vez = 0; vez < 150; ++vez) {
    const auto digest = ListaArquivosAutenticados::Gera(ufs[eu], Pasta());
    if (!digest || *digest != esperado[eu]) ++trocados;
  }
  if (filho == 0) _exit(trocados == 0 ? 0 : 1);
  int estado = 0;
  ASSERT_EQ(waitpid(filho, &estado, 0), filho);
  EXPECT_EQ(trocados, 0);
  EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  // Whatever process wrote last, the file is one of the two lists whole.
  char final[33] = {};
  ASSERT_TRUE(CQMXFisco().GerarMD5Arquivo(caminho.c_str(), final));
  EXPECT_TRUE(final == esperado[0] || final == esperado[1]) << final;
}
#endif

}  // namespace
