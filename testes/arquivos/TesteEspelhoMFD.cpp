#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/VerificaEAD.h"
#include "arquivos/AmbienteMemoriaFiscal.h"
#include "arquivos/memorias/QMXEspelhoMFD.h"

using namespace qmx;
using qmx::testes::PastaTemporaria;

namespace {

using E = CQMXEspelhoMFD;
constexpr const char* kNome = "EspelhoMFDBE0512SC556-20240615.txt";
constexpr const char* kPergunta =
    "Este processo fará o Download da Memória Fiscal.\nIsto poderá levar alguns minutos.\n\n"
    "Deseja continuar com a operação?";

class EspelhoMFD : public testes::AmbienteMemoriaFiscal {
 protected:
  EspelhoMFD() {
    m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Torvo ECF]\nPath=" + Instalacao().string() + "\n");
  }
  std::filesystem::path Instalacao() const { return m_empresa.Pasta().Pasta() / "instalacao"; }
  // Runs the dialog, answering Yes to its question.
  int Executa(const std::string& roteiro) {
    return AmbienteMemoriaFiscal::Executa<E>("dialogo 14007\n" + roteiro + "resposta sim\nclica 1\n");
  }
  std::string Espelho() const { return PastaTemporaria::Le(Enviado(kNome).string()); }
};

TEST_F(EspelhoMFD, TotalPedeDoPrimeiroAoUltimoCOODaMFD) {
  ASSERT_EQ(Executa("clica 13001\n"), ui::IDOK) << testing::PrintToString(TextosCaixas());
  ASSERT_EQ(m_host.Caixas().size(), 2u);
  EXPECT_EQ(testes::Caixa(m_host, 0),
            std::tuple(kPergunta, "Torvo ECF", ui::MB_YESNO | ui::MB_ICONQUESTION | ui::MB_SYSTEMMODAL));
  EXPECT_EQ(testes::TextoETitulo(m_host, 1),
            std::tuple("As informações foram geradas com Sucesso em\r\n" + CaminhoMostrado(kNome), "Torvo ECF"));
  const std::string espelho = Espelho();
  EXPECT_EQ(espelho.substr(0, espelho.find("COO ")),
            "ESPELHO DA MFD BE0512SC556\r\nTIPO 0 INICIAL 000001 FINAL 000006\r\nUSUARIO 2\r\n"
            "MFD BE0512SC556\r\nTIPO 0 INICIAL 000001 FINAL 000006 USUARIO 2\r\n");
  // Every document of the memory, in COO order.
  EXPECT_NE(espelho.find("COO 000001 CCF 000001 CUPOM FISCAL 10/06/2024"), std::string::npos) << espelho;
  EXPECT_LT(espelho.find("COO 000003 REDUCAO Z CRZ 0001"), espelho.find("COO 000004 CCF 000003"));
  EXPECT_NE(espelho.find("COO 000006 REDUCAO Z CRZ 0002"), std::string::npos);
  EXPECT_TRUE(testes::AssinaturaConfereNaLinhaDeComando(espelho));
  // The work files stay in the installation folder.
  EXPECT_TRUE(std::filesystem::exists(Instalacao() / "EspelhoMFDBE0512SC556.mfd"));
  EXPECT_TRUE(std::filesystem::exists(Instalacao() / "EspelhoMFDBE0512SC556.txt"));
}

TEST_F(EspelhoMFD, IntervaloPorCOOOuPorPeriodo) {
  // An initial COO of 0 becomes 1; a final one beyond the MFD is lowered.
  ASSERT_EQ(Executa("clica 13003\ndigita 13006 0\ndigita 13007 999999\n"), ui::IDOK);
  EXPECT_NE(Espelho().find("TIPO 2 INICIAL 000001 FINAL 000006\r\n"), std::string::npos) << Espelho();
  m_host.Limpa();
  ASSERT_EQ(Executa("clica 13003\ndigita 13006 2\ndigita 13007 4a\n"), ui::IDOK);
  const std::string doisAQuatro = Espelho();
  EXPECT_NE(doisAQuatro.find("TIPO 2 INICIAL 000002 FINAL 000004\r\n"), std::string::npos) << doisAQuatro;
  EXPECT_EQ(doisAQuatro.find("COO 000001"), std::string::npos);
  EXPECT_NE(doisAQuatro.find("COO 000004"), std::string::npos);
  EXPECT_EQ(doisAQuatro.find("COO 000005"), std::string::npos);
  m_host.Limpa();
  ASSERT_EQ(Executa("digita 13004 3/6/24\n"), ui::IDOK);
  EXPECT_NE(Espelho().find("TIPO 1 INICIAL 03062024 FINAL 15062024\r\n"), std::string::npos) << Espelho();
}

TEST_F(EspelhoMFD, DarumaRespondeNaPropriaPasta) {
  const auto pastaDaruma = m_empresa.Pasta().Pasta() / "daruma";
  Impressora("Modelo=Daruma FS700\n");
  m_empresa.AcrescentaRegistro("[SOFTWARE\\Daruma\\ECF]\nPath=" + pastaDaruma.string() + "\n");
  ASSERT_EQ(Executa("clica 13003\ndigita 13006 5\ndigita 13007 9\n"), ui::IDOK)
      << testing::PrintToString(TextosCaixas());
  // Type "0" and user "0", whatever the choice; the range is the chosen one.
  const std::string espelho = Espelho();
  EXPECT_EQ(espelho.substr(0, espelho.find("COO ")), "MFD BE0512SC556\r\nTIPO 0 INICIAL 000005 FINAL 000006 USUARIO 0\r\n");
  EXPECT_TRUE(testes::AssinaturaConfereNaLinhaDeComando(Espelho()));
  EXPECT_FALSE(std::filesystem::exists(Instalacao() / "EspelhoMFDBE0512SC556.mfd"));
}

// Without a Yes nothing happens and the dialog stays open; a printer that
// fails leaves nothing stored.
TEST_F(EspelhoMFD, SemSimOuComFalhaDaImpressoraNadaEGravado) {
  AmbienteMemoriaFiscal::Executa<E>("dialogo 14007\nresposta nao\nclica 1\n");
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_EQ(m_host.Dialogos()[0].resultado, ui::IDCANCEL);  // cancelled by the script's end
  EXPECT_FALSE(std::filesystem::exists(Instalacao() / "EspelhoMFDBE0512SC556.mfd"));
  EXPECT_TRUE(NadaEnviado());
  for (const char* falha : {"DownloadMFD", "FormatoDadosMFD", "InicioFimCOOsMFD"}) {
    m_host.Limpa();
    Impressora(std::string("Falhas=") + falha + "\n");
    EXPECT_EQ(Executa(""), ui::IDCANCEL) << falha;
    ASSERT_EQ(m_host.Caixas().size(), 2u) << falha;
    EXPECT_EQ(testes::TextoETitulo(m_host, 1),
              std::tuple("Não foi possível acessar a Memória Fiscal da Impressora", "Torvo ECF"));
    EXPECT_TRUE(NadaEnviado()) << falha;
  }
  // A mirror the printer said it wrote and did not: not signed, not
  // stored, and nothing said after the question.
  m_host.Limpa();
  Impressora("Falhas=FormatoDadosMFD:sem-arquivo\n");
  EXPECT_EQ(Executa(""), ui::IDOK);
  EXPECT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_TRUE(NadaEnviado());
}

}  // namespace
