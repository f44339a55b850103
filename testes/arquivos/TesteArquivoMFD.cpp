#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/VerificaEAD.h"
#include "arquivos/AmbienteMemoriaFiscal.h"
#include "arquivos/memorias/QMXArquivoMFD.h"

using namespace qmx;
using qmx::testes::PastaTemporaria;

namespace {

using A = CQMXArquivoMFD;

class ArquivoMFD : public testes::AmbienteMemoriaFiscal {
 protected:
  int Executa(const std::string& roteiro) { return AmbienteMemoriaFiscal::Executa<A>("dialogo 14025\n" + roteiro); }
  ArquivoMFD() {
    m_host.aoMostrarCaixa = [this] { m_arquivosNaCaixa.push_back(ArquivosNaPastaDaImpressora()); };
  }
  std::vector<long> m_arquivosNaCaixa;  // the printer's files when each box was shown

  long ArquivosNaPastaDaImpressora() const {
    if (!std::filesystem::exists(PastaImpressora())) return 0;
    long n = 0;
    for (const auto& entrada : std::filesystem::directory_iterator(PastaImpressora()))
      n += entrada.path().extension() == ".txt" && entrada.path().filename().string().rfind("impressao", 0) != 0;
    return n;
  }
};

TEST_F(ArquivoMFD, PorPeriodoEPorCOOSemZerosNoNome) {
  ASSERT_EQ(Executa("digita 13026 10/06/24\nclica 1\n"), ui::IDOK) << testing::PrintToString(TextosCaixas());
  // "BE0512SC556" left-aligned in 20, "_100624_150624.txt", every "0" out.
  const std::string nome = "BE512SC556         _1624_15624.txt";
  ASSERT_TRUE(std::filesystem::exists(Enviado(nome)));
  const std::string conteudo = PastaTemporaria::Le(Enviado(nome).string());
  // The two days of the period: their reductions and cupons.
  EXPECT_EQ(conteudo.rfind("E01BE0512SC556", 0), 0u) << conteudo;
  EXPECT_EQ(Registros(conteudo, "E12"), 2);
  EXPECT_EQ(Registros(conteudo, "E14"), 4);
  EXPECT_TRUE(testes::AssinaturaConfereNaLinhaDeComando(conteudo));
  EXPECT_EQ(ArquivosNaPastaDaImpressora(), 0) << "the local file stays";
  // It had left the printer's folder before the operator was told.
  EXPECT_EQ(m_arquivosNaCaixa, std::vector<long>{0});
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_EQ(m_host.Caixas()[0].texto, "Arquivo gerado em:\n\r" + CaminhoMostrado(nome));
  EXPECT_EQ(m_host.Caixas()[0].titulo, "Torvo ECF - Arquivo Eletrônico MFD");
  // By COO, six digits in the name, "0"s out: COOs 1 to 1203, the whole memory.
  m_host.Limpa();
  ASSERT_EQ(Executa("clica 13022\ndigita 13024 0\ndigita 13025 1203\nclica 1\n"), ui::IDOK)
      << testing::PrintToString(TextosCaixas());
  ASSERT_TRUE(std::filesystem::exists(Enviado("BE512SC556         _1_123.txt")));
  EXPECT_EQ(Registros(PastaTemporaria::Le(Enviado("BE512SC556         _1_123.txt").string()), "E15"), 4);
}

TEST_F(ArquivoMFD, ModelosQueNaoGeramOArquivo) {
  for (const char* modelo : {"Daruma FS700", "EPSON TM-T81", "elgin fit", "Sweda IF ST200"}) {
    m_host.Limpa();
    Impressora(std::string("Modelo=") + modelo + "\n");
    EXPECT_EQ(Executa("clica 1\n"), ui::IDCANCEL) << modelo;
    ASSERT_EQ(m_host.Caixas().size(), 1u) << modelo;
    EXPECT_EQ(testes::Caixa(m_host, 0), std::tuple("Função não suportada pelo modelo de ECF utilizado",
                                                    "Torvo ECF - Leitura Memória Fiscal", ui::MB_OK));
    EXPECT_EQ(ArquivosNaPastaDaImpressora(), 0) << modelo;
    EXPECT_TRUE(NadaEnviado());
  }
  EXPECT_TRUE(A::ModeloGeraArquivo("Bematech MP-4200 TH FI"));
}

TEST_F(ArquivoMFD, FalhasDaImpressora) {
  Impressora("Falhas=ArquivoMFD\n");
  EXPECT_EQ(Executa("clica 1\n"), ui::IDCANCEL);
  EXPECT_EQ(TextosCaixas(), std::vector<std::string>{"Não foi possível acessar a Memória Fiscal da Impressora"});
  EXPECT_EQ(m_host.Caixas()[0].titulo, "Torvo ECF");

  m_host.Limpa();
  Impressora("Falhas=PegaPathArqRetorno\n");
  EXPECT_EQ(Executa("clica 1\n"), ui::IDCANCEL);
  EXPECT_EQ(TextosCaixas(), std::vector<std::string>{TextoMensagem(152)});
  EXPECT_EQ(ArquivosNaPastaDaImpressora(), 0) << "the printer was asked before the folder was known";
  EXPECT_TRUE(NadaEnviado());

  // A file the printer said it wrote and did not cannot be signed: nothing
  // stored, nothing said.
  m_host.Limpa();
  Impressora("Falhas=ArquivoMFD:sem-arquivo\n");
  EXPECT_EQ(Executa("clica 1\n"), ui::IDCANCEL);
  EXPECT_TRUE(m_host.Caixas().empty()) << testing::PrintToString(TextosCaixas());
  EXPECT_TRUE(NadaEnviado());
}

}  // namespace
