#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/ui/HostRoteirizado.h"

using namespace qmx::impressora;
using qmx::testes::PastaTemporaria;
using qmx::testes::RegistroTemporario;

namespace {

class Impressora : public ::testing::Test {
 protected:
  Impressora() : m_registro(Configuracao("")) {}
  std::string Configuracao(const std::string& extra) const {
    return "[SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal]\n"
           "Modelo=EMULADA\nNumeroSerie=BE0512SC5560000123\nNumeroCaixa=3\n"
           "COOInicialMFD=1\nCOOFinalMFD=42\n"
           "PastaRetorno=" + m_pasta.Pasta().string() + "\n" + extra;
  }
  void Reconfigura(const std::string& extra) { m_registro.Reescreve(Configuracao(extra)); }

  PastaTemporaria m_pasta;
  RegistroTemporario m_registro;
};

TEST_F(Impressora, RelatorioGerencialNaOrdemEExatoComoEnviado) {
  unsigned char indice = 0;
  ASSERT_TRUE(BuscaIndiceRelatorioGerencial("MEIOS DE PAGTO", indice));
  EXPECT_EQ(indice, 2);
  EXPECT_FALSE(RelatorioGerencial(const_cast<char*>("antes de abrir")));
  ASSERT_TRUE(AbreRelatorioGerencial(indice));
  EXPECT_FALSE(AbreRelatorioGerencial(indice));  // one report at a time
  char primeiro[] = "\n\r  Identifica\xE7\xE3o\n\r";
  char segundo[] = "Linha 2\r\n";
  EXPECT_TRUE(RelatorioGerencial(primeiro));
  EXPECT_TRUE(RelatorioGerencial(segundo));
  EXPECT_TRUE(FechaRelatorioGerencial());
  EXPECT_FALSE(FechaRelatorioGerencial());
  const auto relatorios = RelatoriosImpressos();
  ASSERT_EQ(relatorios.size(), 1u);
  EXPECT_EQ(std::tuple(relatorios[0].titulo, relatorios[0].texto, relatorios[0].fechado),
            std::tuple("MEIOS DE PAGTO", std::string(primeiro) + segundo, true));
  ASSERT_TRUE(BuscaIndiceRelatorioGerencial("NAO EXISTE", indice));
  EXPECT_EQ(indice, 255);
}

TEST_F(Impressora, LeituraDaMemoriaFiscalNoArquivoDeRetorno) {
  ASSERT_TRUE(LeituraMemoriaFiscalData("01/11/2026", "30/11/2026", true, "s"));
  std::string retorno;
  ASSERT_TRUE(PegaPathArqRetorno(&retorno));
  // Callers take the folder up to the last "\" of the answer path.
  const auto barra = retorno.rfind('\\');
  ASSERT_NE(barra, std::string::npos);
  EXPECT_EQ(std::filesystem::path(qmx::texto::CaminhoNativo(retorno.substr(0, barra + 1))),
            std::filesystem::path(m_pasta.Pasta().string() + "/"));
  const std::string leitura = PastaTemporaria::Le(qmx::texto::CaminhoNativo(retorno));
  EXPECT_NE(leitura.find("LEITURA DA MEMORIA FISCAL SIMPLIFICADA\r\n"), std::string::npos) << leitura;
  EXPECT_NE(leitura.find("01/11/2026 A 30/11/2026"), std::string::npos);
}

TEST_F(Impressora, ArquivosDaMFD) {
  const std::string imagem = m_pasta.Caminho("EspelhoMFD.mfd");
  const std::string espelho = m_pasta.Caminho("EspelhoMFD.txt");
  ASSERT_TRUE(DownloadMFD(imagem.c_str(), "2", "000040", "000099", "1"));
  // A printer without its company's movement holds no documents.
  EXPECT_EQ(PastaTemporaria::Le(imagem), "MFD BE0512SC5560000123\r\nTIPO 2 INICIAL 000040 FINAL 000099 USUARIO 1\r\n");
  ASSERT_TRUE(FormatoDadosMFD(imagem.c_str(), espelho.c_str(), "0", "2", "000040", "000099", "1"));
  EXPECT_EQ(PastaTemporaria::Le(espelho).rfind("ESPELHO DA MFD BE0512SC5560000123\r\nTIPO 2 INICIAL 000040", 0), 0u);
  EXPECT_FALSE(FormatoDadosMFD(m_pasta.Caminho("falta.mfd").c_str(), espelho.c_str(), "0", "0", "", "", "1"));
  EXPECT_FALSE(DownloadMFD(imagem.c_str(), "9", "", "", "1"));

  ASSERT_TRUE(ArquivoMFD("", "01112026", "30112026", "D", "01", 0, "", "", 1));
  EXPECT_TRUE(std::filesystem::exists(m_pasta.Pasta() / "BE0512SC5560000123  _01112026_30112026.txt"));
  ASSERT_TRUE(ArquivoMFD("", "000001", "000042", "C", "01", 1, "", "", 1));
  EXPECT_TRUE(std::filesystem::exists(m_pasta.Pasta() / "BE512SC556123  _1_42.txt"));
  // The printer's one user is "01"; it makes only the single file, with
  // blank keys.
  EXPECT_TRUE(ArquivoMFD("", "01112026", "30112026", "D", "01", 0, "   ", "   ", 1));
  EXPECT_FALSE(ArquivoMFD("", "01112026", "30112026", "D", "02", 0, "", "", 1));
  EXPECT_FALSE(ArquivoMFD("", "01112026", "30112026", "D", "01", 0, "", "", 0));
  EXPECT_FALSE(ArquivoMFD("", "01112026", "30112026", "D", "01", 0, "CHAVE", "", 1));
  EXPECT_FALSE(ArquivoMFD("", "01112026", "30112026", "D", "01", 0, "", "CHAVE", 1));
  EXPECT_TRUE(ArquivoMF("01112026", "30112026", "D", "01"));
  EXPECT_FALSE(ArquivoMF("01112026", "30112026", "D", "1"));
}

TEST_F(Impressora, SerieComBarraNaoSaiDaPasta) {
  std::string configuracao = Configuracao("");
  configuracao.replace(configuracao.find("BE0512"), 18, "../../ab/c");
  m_registro.Reescreve(configuracao);
  unsigned char indice = 0;
  ASSERT_TRUE(BuscaIndiceRelatorioGerencial("IDENT. PAF-ECF", indice));
  ASSERT_TRUE(AbreRelatorioGerencial(indice));
  ASSERT_TRUE(FechaRelatorioGerencial());
  EXPECT_TRUE(std::filesystem::exists(m_pasta.Pasta() / "impressao-.._.._ab_c.txt"));
}

}  // namespace
