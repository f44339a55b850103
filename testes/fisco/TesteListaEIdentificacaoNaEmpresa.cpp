// The authenticated-file list and the identification report made for a
// company: the branch's state and the ECFs come from its database, the
// digests from a real installation folder, the report goes to the emulated
// printer's spool.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "apoio/EmpresaTeste.h"
#include "apoio/Linhas.h"
#include "apoio/PastaTemporaria.h"
#include "fisco/ArquivosInstalacao.h"
#include "fisco/QMXFisco.h"
#include "frame/QMXUTIL.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/ui/HostRoteirizado.h"

using namespace qmx;
using qmx::testes::EmpresaTeste;
using qmx::testes::PastaTemporaria;

namespace {

constexpr const char* kSerieAL = "BE0512SC556";
constexpr const char* kSeriePE = "EP0990XX123";

std::vector<std::string> Linhas(const std::string& texto) { return qmx::testes::LinhasCRLF(texto); }

bool Contem(const std::string& texto, const std::string& trecho) { return texto.find(trecho) != std::string::npos; }

// Branch 1 in Alagoas, branch 2 in Pernambuco; the ECF of this computer is
// ECF 1 of branch 1 until a test plugs in another.
class FiscoNaEmpresa : public ::testing::Test {
 protected:
  FiscoNaEmpresa() : m_ativo(m_host) {
    m_empresa.Filial(1, "Loja Maceió", "AL", "Mercado Ávila Ltda");
    m_empresa.Filial(2, "Loja Recife", "PE", "Mercado Ávila Ltda");
    m_empresa.MestreFilial(1, "AL");
    m_empresa.MestreFilial(2, "PE");
    m_empresa.Emissora(1, 1, kSerieAL, "Caixa Centro");
    m_empresa.Emissora(2, 1, "Emulador", "Caixa Treino");
    m_empresa.Emissora(3, 2, kSeriePE, "Caixa Boa Viagem");
    m_empresa.Emissora(4, 1, "999999999", "Caixa Teste");
    REG_EMISSORPS desligada = m_empresa.Emissora(5, 1, "DR0311BR000", "Caixa Desligado");
    desligada.Habilitada = 0;
    m_empresa.Gravador().GravaEmissora(desligada);
    m_empresa.Emissora(6, 2, "eMuLaDoR", "Caixa Treino PE");
    m_empresa.ECFPorFilial(false);
    m_empresa.ImpressoraEmulada(kSerieAL);
    m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
    DefinePastaInstalacao(m_instalacao.Pasta().string());
    m_instalacao.Grava("QMVCX.EXE", "abc");
    m_instalacao.Grava("qmvdav.exe", "");  // found whatever its letter case
    QMX_Inicializa(m_empresa.Chave().c_str(), 1, 0);
  }

  void DefinePastaInstalacao(const std::string& pasta) {
    m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Torvo ECF]\nPath=" + pasta + "\n");
  }
  std::string ArquivoLista() const { return m_instalacao.Caminho("Torvo ECF.txt"); }
  bool ListaExiste() const { return std::filesystem::exists(ArquivoLista()); }
  std::vector<impressora::RelatorioImpresso> Impressos() const { return impressora::RelatoriosImpressos(); }

  EmpresaTeste m_empresa;
  PastaTemporaria m_instalacao;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;
};

TEST_F(FiscoNaEmpresa, ListaDaFilialDoECFLigadoEmAlagoas) {
  char digest[33] = {};
  ASSERT_TRUE(QMX_GerarMD5_PAFECF(digest, 1));

  const std::string gravado = PastaTemporaria::Le(ArquivoLista());
  const auto linhas = Linhas(gravado);
  // The records themselves are checked where the list is built.
  ASSERT_EQ(linhas.size(), 15u);  // N1, N2, 11 N3, N9 and the EAD line
  EXPECT_EQ(linhas[14].substr(0, 3), "EAD");
  EXPECT_EQ(linhas[14].size(), 3u + 256);

  // The buffer holds the digest of the signed file as it lies on disk.
  char doArquivo[33] = {};
  ASSERT_TRUE(CQMXFisco().GerarMD5Arquivo(ArquivoLista().c_str(), doArquivo));
  EXPECT_STREQ(digest, doArquivo);

  ASSERT_EQ(m_host.Caixas().size(), 1u);
  const auto& caixa = m_host.Caixas()[0];
  EXPECT_EQ(caixa.texto.substr(0, 24), "Arquivo MD-5 gerado em '");
  EXPECT_TRUE(Contem(caixa.texto, "Torvo ECF.txt'."));
  EXPECT_EQ(caixa.flags & 0xF0u, ui::MB_ICONINFORMATION);
}

TEST_F(FiscoNaEmpresa, FilialDadaDecideAVersaoSemMensagem) {
  char digest[33] = {};
  ASSERT_TRUE(QMX_GerarMD5_NotaFiscal(digest, 2));
  EXPECT_EQ(std::strlen(digest), 32u);
  EXPECT_EQ(Linhas(PastaTemporaria::Le(ArquivoLista()))[1].substr(62), "5.2 ERP 5.21");
  EXPECT_TRUE(m_host.Caixas().empty());

  ASSERT_TRUE(QMX_GerarMD5_NotaFiscal(digest, 1));
  EXPECT_EQ(Linhas(PastaTemporaria::Le(ArquivoLista()))[1].substr(62), "5.2.521     ");

  // Branch 0: the branch of the ECF plugged into this computer.
  m_empresa.ImpressoraEmulada(kSeriePE);
  ASSERT_TRUE(QMX_GerarMD5_PAFECF(digest, 0));
  EXPECT_EQ(Linhas(PastaTemporaria::Le(ArquivoLista()))[1].substr(62), "5.2 ERP 5.21");
  EXPECT_TRUE(m_host.Caixas().empty());
}

TEST_F(FiscoNaEmpresa, ListaNaoGravadaQuandoOEstadoNaoSeLe) {
  char digest[33] = "intacto";
  // An ECF the company does not know.
  m_empresa.ImpressoraEmulada("XX0000000000");
  EXPECT_FALSE(QMX_GerarMD5_PAFECF(digest, 1));
  // A branch without point-of-sale data.
  EXPECT_FALSE(QMX_GerarMD5_NotaFiscal(digest, 7));
  // A company without a database.
  QMX_Inicializa("EMPRESA-SEM-BASE", 1, 0);
  EXPECT_FALSE(QMX_GerarMD5_NotaFiscal(digest, 1));
  EXPECT_STREQ(digest, "intacto");
  EXPECT_FALSE(ListaExiste());
}

TEST_F(FiscoNaEmpresa, PastaDeInstalacaoAusenteOuInacessivel) {
  char digest[33] = "intacto";
  DefinePastaInstalacao("");
  EXPECT_FALSE(QMX_GerarMD5_NotaFiscal(digest, 1));
  EXPECT_TRUE(m_host.Caixas().empty());
  EXPECT_FALSE(QMX_GerarMD5_PAFECF(digest, 1));
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_TRUE(Contem(m_host.Caixas()[0].texto, "não está no registro"));

  DefinePastaInstalacao(m_instalacao.Caminho("nao-existe"));
  EXPECT_FALSE(QMX_GerarMD5_PAFECF(digest, 1));
  ASSERT_EQ(m_host.Caixas().size(), 2u);
  EXPECT_TRUE(Contem(m_host.Caixas()[1].texto, "Não foi possível gravar"));
  EXPECT_STREQ(digest, "intacto");
  EXPECT_FALSE(ListaExiste());
  EXPECT_FALSE(std::filesystem::exists(m_instalacao.Caminho("nao-existe")));
}

TEST_F(FiscoNaEmpresa, RelatorioEmAlagoasSoListaECFsDeAlagoas) {
  char digest[33] = {};
  ASSERT_TRUE(QMX_GerarMD5_NotaFiscal(digest, 1));
  EXPECT_TRUE(QMX_IdentificacaoPAFECF());

  const auto impressos = Impressos();
  ASSERT_EQ(impressos.size(), 1u);
  EXPECT_EQ(std::tuple(impressos[0].titulo, impressos[0].fechado), std::tuple("IDENT. PAF-ECF", true));
  const std::string& texto = impressos[0].texto;
  EXPECT_TRUE(Contem(texto, "Nome:         Torvo ECF - Versão 5.2.521\r\n"));
  EXPECT_TRUE(Contem(texto, "MD-5:         900150983cd24fb0d6963f7d28e17f72\r\n\r\n"));
  EXPECT_TRUE(Contem(texto, std::string("TORVO ECF.TXT ") + digest + "\r\n"));
  EXPECT_TRUE(Contem(texto, "QMVDAV.EXE     D41D8CD98F00B204E9800998ECF8427E\r\n"));
  EXPECT_TRUE(Contem(texto, "BEMAFI32.DLL   \r\n"));
  // Only the enabled ECF of Alagoas with a real serial number, then the end.
  const std::string cabecalho = "\r\nImpressoras habilitadas e seus Nºs de Série\r\n" + std::string(48, '-') + "\r\n";
  const auto lista = texto.find(cabecalho);
  ASSERT_NE(lista, std::string::npos);
  EXPECT_EQ(texto.substr(lista + cabecalho.size()), "Caixa Centro        BE0512SC556\r\n\r\n");
  EXPECT_FALSE(Contem(Maiusculas(texto), "EMULADOR"));
  EXPECT_TRUE(m_host.Caixas().empty());
}

// Outside Alagoas every enabled ECF with a real serial number is listed,
// whatever its branch's state.
TEST_F(FiscoNaEmpresa, RelatorioForaDeAlagoasListaTodas) {
  m_empresa.ImpressoraEmulada(kSeriePE);
  EXPECT_TRUE(QMX_IdentificacaoPAFECF());
  const auto impressos = Impressos();
  ASSERT_EQ(impressos.size(), 1u);
  const std::string& texto = impressos[0].texto;
  EXPECT_TRUE(Contem(texto, "Nome:         Torvo ECF - Versão 5.2 ERP 5.21\r\n"));
  EXPECT_TRUE(Contem(texto, "Caixa Centro        BE0512SC556\r\nCaixa Boa Viagem    EP0990XX123\r\n\r\n"));
  for (const char* fora : {"EMULADOR", "999999999", "DR0311BR000"})
    EXPECT_FALSE(Contem(Maiusculas(texto), fora)) << fora;
  // Without the list file its digest is empty; the report goes on.
  EXPECT_TRUE(Contem(texto, "TORVO ECF.TXT \r\n"));
}

// No ECF plugged in, then one of a branch without data: nothing printed.
TEST_F(FiscoNaEmpresa, RelatorioSemECFLigadoOuSemDadosDaFilialDoECF) {
  m_empresa.ImpressoraEmulada("XX0000000000");
  EXPECT_FALSE(QMX_IdentificacaoPAFECF());
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_TRUE(Contem(m_host.Caixas()[0].texto, "não tem um ECF ativo"));
  EXPECT_TRUE(Impressos().empty());
  m_empresa.Emissora(7, 9, "SW0700000007");
  m_empresa.ImpressoraEmulada("SW0700000007");
  EXPECT_FALSE(QMX_IdentificacaoPAFECF());
  EXPECT_TRUE(Impressos().empty());
}

TEST_F(FiscoNaEmpresa, RelatorioComECFsControladosPorFilial) {
  m_empresa.ECFPorFilial(true);
  EXPECT_TRUE(QMX_IdentificacaoPAFECF());
  EXPECT_EQ(Impressos().size(), 1u);
  EXPECT_TRUE(m_host.Caixas().empty());

  // A branch that may not use ECFs: message 161.
  REG_FILIALPS filial = m_empresa.Filial(1, "Loja Maceió", "AL", "Mercado Ávila Ltda");
  filial.HabilitadaECF = 0;
  m_empresa.Gravador().GravaFilial(filial, "Mercado Ávila Ltda");
  EXPECT_FALSE(QMX_IdentificacaoPAFECF());
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_TRUE(Contem(m_host.Caixas()[0].texto, "não está habilitada"));
  EXPECT_EQ(Impressos().size(), 1u);  // nothing more printed

  // An ECF of a branch the company does not have: message 162.
  m_empresa.Emissora(7, 9, "SW0700000007");
  m_empresa.MestreFilial(9, "SE");
  m_empresa.ImpressoraEmulada("SW0700000007");
  EXPECT_FALSE(QMX_IdentificacaoPAFECF());
  ASSERT_EQ(m_host.Caixas().size(), 2u);
  EXPECT_TRUE(Contem(m_host.Caixas()[1].texto, "Não foi possível verificar"));
  EXPECT_TRUE(Impressos().empty());  // this printer's spool
}

}  // namespace
