#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/Caixas.h"
#include "apoio/LimiteTamanhoArquivo.h"
#include "apoio/EmpresaTeste.h"
#include "apoio/RelogioSimulado.h"
#include "apoio/VerificaEAD.h"
#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/LancaDialogo.h"
#include "plataforma/mensagens/CatalogoMensagens.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/ui/ModuloRecursos.h"
#include "plataforma/processo/Sistema.h"

using namespace qmx;
using qmx::testes::EmpresaTeste;
using qmx::testes::PastaTemporaria;

namespace {

constexpr int kDataInicial = 101, kDataFinal = 102, kFilial = 103, kEmissora = 105;

constexpr const char* kModelo = R"rc(
19999 DIALOGEX 0, 0, 200, 100
CAPTION "Filtro de Teste"
BEGIN
    CONTROL "", 101, "Edit", WS_BORDER | WS_TABSTOP, 60, 7, 50, 12
    CONTROL "", 102, "Edit", WS_BORDER | WS_TABSTOP, 60, 22, 50, 12
    CONTROL "", 103, "Edit", WS_BORDER | WS_TABSTOP, 60, 37, 30, 12
    CONTROL "", 104, "Static", SS_LEFT, 95, 39, 100, 8
    CONTROL "", 105, "Edit", WS_BORDER | WS_TABSTOP | WS_DISABLED, 60, 52, 30, 12
    CONTROL "", 106, "Static", SS_LEFT, 95, 54, 100, 8
    CONTROL "OK", 1, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 90, 80, 50, 14
    CONTROL "Cancelar", 2, "Button", BS_PUSHBUTTON | WS_TABSTOP, 143, 80, 50, 14
END
)rc";

// A small file dialog of the test's own, written on the frame the way every
// file of the library is: a branch, an ECF, a period, one record line.
class CFiltroTeste : public CQMXFiltroArquivo {
 public:
  CFiltroTeste() : CQMXFiltroArquivo(19999, "QMXFiltroTeste") {}
  bool mantemTemporario = false;

 protected:
  bool OnInitDialog() override {
    PreparaPeriodo(kDataInicial, kDataFinal, InicioPeriodo::InicioSistema, CVerificacaoPeriodo::Regras::ComInicioSistema);
    PreparaFilialEmissora(kFilial, 104, kEmissora, 106);
    return true;
  }
  void OnOK() override {
    ui::CWaitCursor espera;
    if (!ConfirmaFilialEmissora("Torvo ECF - Arquivo Eletrônico Teste")) return;
    const std::string texto = std::string("T1|") + m_regFilial.NomeFantasia + "|" + m_regEmissora.NumeroSerie + "|" +
                              GetDlgItemText(kDataInicial) + "\r\n";
    if (EnviaArquivo("Teste.txt", texto, {"Torvo ECF - Arquivo Eletrônico Teste", AvisoArquivoGerado::Forma::Padrao},
                     mantemTemporario))
      EndDialog(ui::IDOK);
  }
};

// The test dialog's template, registered once.
void RegistraModuloTeste() {
  static ui::ModuloRecursos modulo("teste do filtro");
  [[maybe_unused]] static const bool registrado = (modulo.AdicionaModelos(kModelo), ui::RegistraNaCadeia(modulo), true);
}

class FiltroArquivo : public ::testing::Test {
 protected:
  FiltroArquivo() : m_ativo(m_host) {
    RegistraModuloTeste();
    qmx::sistema::DefineVariavel(qmx::testes::kVariavelTemporarios, m_temporarios.Pasta().string());
    m_empresa.Filial(1, "Loja Centro", "AL", "Mercado Ávila Ltda");
    m_empresa.Filial(2, "Loja Praia", "AL", "Mercado Ávila Ltda");
    m_empresa.Emissora(1, 1, "BE0512SC556");
    m_empresa.Usuario(1, "Operador", {1});
    m_empresa.Mestre(CodificaDia(1, 1, 2024));
    // The library's clock at 15 June 2024, 10:00, from this instant on.
    m_empresa.AcrescentaRegistro(testes::RelogioSimulado("15/06/2024", "10:00:00") +
                                 "[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
  }
  ~FiltroArquivo() override { qmx::sistema::RemoveVariavel(qmx::testes::kVariavelTemporarios); }

  int Executa(const std::string& roteiro, const std::string& chave = "TESTE", bool mantemTemporario = false) {
    m_host.CarregaRoteiro(roteiro);
    return LancaDialogo<CFiltroTeste>([&](CFiltroTeste& d, const TriploConexao&) {
      d.mantemTemporario = mantemTemporario;
      return d.Inicializa(chave, 1, 0);
    });
  }
  std::filesystem::path Gerado() const { return m_empresa.PastaEC() / "Arquivos-Eletronicos" / "Teste.txt"; }

  PastaTemporaria m_temporarios;
  EmpresaTeste m_empresa;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;
};

TEST_F(FiltroArquivo, DoOKAoArquivoAssinadoNaPastaDaEmpresa) {
  ASSERT_EQ(Executa("dialogo 19999\ndigita 105 1\nclica 1\n"), ui::IDOK)
      << testing::PrintToString(m_host.Erros()) << (m_host.Caixas().empty() ? "" : m_host.Caixas()[0].texto);
  ASSERT_TRUE(std::filesystem::exists(Gerado()));
  const std::string conteudo = PastaTemporaria::Le(Gerado().string());
  EXPECT_EQ(conteudo.substr(0, 42), "T1|Loja Centro|BE0512SC556|01/01/2024\r\nEAD");
  EXPECT_TRUE(testes::AssinaturaConfereNaLinhaDeComando(conteudo));
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_EQ(testes::Caixa(m_host, 0),
            std::tuple("Arquivo gerado em\r\n" + m_empresa.PastaEC().string() + "/Arquivos-Eletronicos\\Teste.txt",
                       "Torvo ECF - Arquivo Eletrônico Teste", ui::MB_OK | ui::MB_ICONEXCLAMATION | ui::MB_SYSTEMMODAL));
  EXPECT_EQ(m_temporarios.Entradas(), 0) << "the temporary file stays behind";
  // One permitted branch: preset at start, the ECF edit enabled at once.
  const auto& inicio = m_host.Dialogos()[0].aposInicio;
  EXPECT_EQ(std::tuple(inicio.at(kFilial).texto, inicio.at(kEmissora).habilitado, inicio.at(kDataInicial).texto,
                       inicio.at(kDataFinal).texto),
            std::tuple("1", true, "01/01/2024", "15/06/2024"));
}

TEST_F(FiltroArquivo, CadaVerificacaoDoPeriodoAvisaEReinicia) {
  // The system started on 01/01/2024; today is 15/06/2024. No message: the
  // date is accepted as typed.
  const struct {
    int id;
    const char* digitado;
    const char* mensagem;
    const char* aoFechar;
  } casos[] = {
      {kDataInicial, "31/12/2023", "Data Inicial inferior a data de inicio do sistema.", "01/01/2024"},
      {kDataInicial, "01/01/2024", nullptr, "01/01/2024"},
      {kDataInicial, "16/06/2024", "Data Inicial maior que data atual.", "01/01/2024"},
      {kDataInicial, "15/06/2024", nullptr, "15/06/2024"},
      {kDataInicial, "ontem", "Data Inicial inferior a data de inicio do sistema.", "01/01/2024"},
      {kDataFinal, "16/06/2024", "Data Final maior que data atual.", "15/06/2024"},
      {kDataFinal, "15/06/2024", nullptr, "15/06/2024"},
      {kDataFinal, "31/12/2023", "Data Final menor que data Inicial", "15/06/2024"},
  };
  for (const auto& caso : casos) {
    m_host.Limpa();
    // Type, leave the edit for the branch edit; then cancel.
    Executa("dialogo 19999\ndigita " + std::to_string(caso.id) + " " + caso.digitado + "\ndigita 103 1\n");
    if (caso.mensagem) {
      ASSERT_GE(m_host.Caixas().size(), 1u) << caso.digitado;
      EXPECT_EQ(m_host.Caixas()[0].texto, caso.mensagem) << caso.digitado;
    } else {
      EXPECT_TRUE(m_host.Caixas().empty()) << caso.digitado;
    }
    EXPECT_EQ(m_host.Dialogos()[0].aoFechar.at(caso.id).texto, caso.aoFechar) << caso.digitado;
  }
  // A final date equal to the initial one is accepted.
  m_host.Limpa();
  Executa("dialogo 19999\ndigita 101 10/06/2024\ndigita 102 10/06/2024\ndigita 103 1\n");
  EXPECT_TRUE(m_host.Caixas().empty());
}

TEST_F(FiltroArquivo, SemECFOuComFilialNaoHabilitada) {
  Executa("dialogo 19999\nclica 1\n");
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_EQ(testes::TextoETitulo(m_host, 0), std::tuple("Selecione um ECF", "Torvo ECF - Arquivo Eletrônico Teste"));
  EXPECT_EQ(m_host.Dialogos()[0].resultado, ui::IDCANCEL);  // stayed open, then cancelled by the script's end
  EXPECT_FALSE(std::filesystem::exists(Gerado()));

  m_empresa.ECFPorFilial(true);  // a branch not enabled (161) is in LeituraMemoriaFiscal.ECFControladoPorFilial

  // The server cannot answer for the branch (one it does not know):
  // message 162 at each OK, and the dialog stays open.
  m_host.Limpa();
  Executa("dialogo 19999\ndigita 103 9\nclica 1\nclica 1\n");
  const std::string mensagem162 = mensagens::CCatalogoMensagens::Le("EC", 162).texto;
  ASSERT_FALSE(mensagem162.empty());
  EXPECT_EQ(testes::TextosCaixas(m_host), (std::vector<std::string>{mensagem162, mensagem162}));
  EXPECT_FALSE(std::filesystem::exists(Gerado()));
}

TEST_F(FiltroArquivo, FalhasNaoDeixamArquivoNemAvisoDeSucesso) {
  // The company's folder is missing from the registry: the upload fails.
  m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Empresas\\TESTE]\nEC=\n");
  Executa("dialogo 19999\ndigita 105 1\nclica 1\n");
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_NE(m_host.Caixas()[0].texto.find("\nOrigem: QMXFiltroTeste, linha "), std::string::npos)
      << m_host.Caixas()[0].texto;
  EXPECT_FALSE(std::filesystem::exists(Gerado()));
  EXPECT_EQ(m_temporarios.Entradas(), 0);

#if !defined(_WIN32)  // a full disk is injected with RLIMIT_FSIZE
  // The file cannot be signed (it may not grow past its first bytes):
  // nothing is stored, no box is shown, the dialog stays open.
  m_host.Limpa();
  m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Empresas\\TESTE]\nEC=" + m_empresa.PastaEC().string() + "\n");
  EXPECT_EQ(testes::ComLimite(200, [&] { return Executa("dialogo 19999\ndigita 105 1\nclica 1\n"); }), ui::IDCANCEL);
  EXPECT_TRUE(m_host.Caixas().empty()) << m_host.Caixas()[0].texto;
  EXPECT_FALSE(std::filesystem::exists(Gerado()));
  EXPECT_EQ(m_temporarios.Entradas(), 0);
#endif

  // A temporary folder that cannot be written: nothing at all.
  m_host.Limpa();
  qmx::sistema::DefineVariavel(qmx::testes::kVariavelTemporarios, (m_temporarios.Pasta() / "nao-existe").string());
  Executa("dialogo 19999\ndigita 105 1\nclica 1\n");
  EXPECT_TRUE(m_host.Caixas().empty());
}

// An empty company key prepares neither branch nor ECF. Only the permitted
// branches that can be read count: one of two here, so it is preset.
TEST_F(FiltroArquivo, ChaveVaziaEFiliaisPermitidasQueNaoSeLeem) {
  Executa("dialogo 19999\n", "");
  EXPECT_EQ(std::tuple(m_host.Dialogos()[0].aposInicio.at(kFilial).texto,
                       m_host.Dialogos()[0].aposInicio.at(kEmissora).habilitado),
            std::tuple("", false));
  m_host.Limpa();
  m_empresa.Filial(9, "Loja Serra", "AL", "Mercado Ávila Ltda");
  m_empresa.Usuario(1, "Operador", {5, 9});
  Executa("dialogo 19999\n");
  EXPECT_EQ(std::tuple(m_host.Dialogos()[0].aposInicio.at(kFilial).texto,
                       m_host.Dialogos()[0].aposInicio.at(kEmissora).habilitado),
            std::tuple("9", true));
}

TEST_F(FiltroArquivo, MudarDeFilialReligaOECFMenosComShift) {
  m_empresa.Usuario(1, "Operador", {1, 2});  // two branches: nothing preset
  Executa("dialogo 19999\ndigita 103 2\ndigita 101 01/06/2024\n");
  EXPECT_FALSE(m_host.Dialogos()[0].aposInicio.at(kEmissora).habilitado);
  EXPECT_TRUE(m_host.Dialogos()[0].aoFechar.at(kEmissora).habilitado);
  // With shift held, or with all branches (no ECF to choose), it stays off.
  for (const char* roteiro : {"segura-shift\ndigita 103 2\n", "digita 103 0\n"}) {
    m_host.Limpa();
    Executa(std::string("dialogo 19999\n") + roteiro + "digita 101 01/06/2024\n");
    EXPECT_FALSE(m_host.Dialogos()[0].aoFechar.at(kEmissora).habilitado) << roteiro;
  }
}

// The MFD file dialog's own wording: two-digit years, every reset to today.
class CFiltroMFDTeste : public CQMXFiltroArquivo {
 public:
  CFiltroMFDTeste() : CQMXFiltroArquivo(19999, "QMXFiltroTeste") {}

 protected:
  bool OnInitDialog() override {
    PreparaPeriodo(kDataInicial, kDataFinal, InicioPeriodo::Hoje, CVerificacaoPeriodo::Regras::ArquivoMFD, 1);
    return true;
  }
};

TEST_F(FiltroArquivo, VariantesDoArquivoMFD) {
  // Each script runs after 10/06/24 is typed as the initial date, and then
  // leaves its field for the branch edit.
  const struct {
    const char* roteiro;
    int id;
    const char* mensagem;
  } casos[] = {
      {"digita 103 1\ndigita 101 16/06/24\n", kDataInicial, "Data Inicial maior que Data Atual."},
      {"digita 103 1\ndigita 102 16/06/24\n", kDataFinal, "Data Final maior que Data Atual."},
      {"digita 103 1\ndigita 102 01/01/24\n", kDataFinal, "Data Final menor que Data Inicial."},
      {"digita 102 12/06/24\ndigita 101 13/06/24\n", kDataInicial, "Data Inicial maior que Data Final."},
  };
  for (const auto& caso : casos) {
    m_host.Limpa();
    m_host.CarregaRoteiro(std::string("dialogo 19999\ndigita 101 10/06/24\n") + caso.roteiro + "digita 103 1\n");
    LancaDialogo<CFiltroMFDTeste>([](CFiltroMFDTeste& d, const TriploConexao&) { return d.Inicializa("TESTE", 1, 0); });
    ASSERT_FALSE(m_host.Caixas().empty()) << caso.roteiro;
    EXPECT_EQ(m_host.Caixas().front().texto, caso.mensagem);
    EXPECT_EQ(m_host.Dialogos()[0].aoFechar.at(caso.id).texto, "15/06/24");
  }
}

}  // namespace
