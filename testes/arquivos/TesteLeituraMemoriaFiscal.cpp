#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "apoio/LimiteTamanhoArquivo.h"
#include "apoio/Linhas.h"
#include "apoio/VerificaEAD.h"
#include "arquivos/AmbienteMemoriaFiscal.h"
#include "arquivos/memorias/QMXArquivoMFD.h"
#include "arquivos/memorias/QMXEspelhoMFD.h"
#include "arquivos/memorias/QMXLeituraMemoriaFiscal.h"
#include "frame/ContextoBiblioteca.h"
#include "plataforma/ui/ModuloRecursos.h"

using namespace qmx;
using qmx::testes::PastaTemporaria;

namespace {

using L = CQMXLeituraMemoriaFiscal;
constexpr const char* kTitulo = "Torvo ECF - Leitura Memória Fiscal";

class LeituraMemoriaFiscal : public testes::AmbienteMemoriaFiscal {
 protected:
  int Executa(const std::string& roteiro) { return ExecutaTipo("c", roteiro); }
  int ExecutaTipo(const std::string& tipo, const std::string& roteiro) {
    m_host.CarregaRoteiro("dialogo 14024\n" + roteiro);
    return LancaDialogo<L>([&](L& d, const TriploConexao&) { return d.Inicializa("TESTE", 1, 0, tipo); });
  }
  std::string Retorno() const { return PastaTemporaria::Le((PastaImpressora() / "Retorno.txt").string()); }
};

TEST_F(LeituraMemoriaFiscal, InicioPorTipoEHabilitacaoDosControles) {
  ExecutaTipo("c", "");
  ExecutaTipo("s", "");
  ExecutaTipo("x", "");
  ASSERT_EQ(m_host.Dialogos().size(), 3u);
  EXPECT_EQ(std::tuple(m_host.Dialogos()[0].titulo, m_host.Dialogos()[1].titulo, m_host.Dialogos()[2].titulo),
            std::tuple("Leitura Memória Fiscal Completa", "Leitura Memória Fiscal Simplificada", ""));
  const auto& inicio = m_host.Dialogos()[0].aposInicio;
  EXPECT_EQ(std::tuple(inicio.at(L::IDC_POR_PERIODO).marcado, inicio.at(L::IDC_POR_REDUCAO).marcado,
                       inicio.at(L::IDC_EXPORTA).marcado, inicio.at(L::IDC_DATA_INICIAL).habilitado,
                       inicio.at(L::IDC_REDUCAO_INICIAL).habilitado, inicio.at(L::IDC_COTEPE_FINAL).habilitado,
                       inicio.at(L::IDC_EXPORTA).habilitado),
            std::tuple(1, 0, 0, true, false, false, true));
  for (int id : {L::IDC_DATA_INICIAL, L::IDC_DATA_FINAL, L::IDC_COTEPE_INICIAL, L::IDC_COTEPE_FINAL})
    EXPECT_EQ(inicio.at(id).texto, "15/06/2024") << id;
  EXPECT_EQ(std::tuple(inicio.at(L::IDC_REDUCAO_INICIAL).texto, inicio.at(L::IDC_REDUCAO_FINAL).texto), std::tuple("1", "1"));

  // The Ato COTEPE type sets the export box and locks it; going back to a
  // printed type clears it.
  m_host.Limpa();
  Executa("clica 13059\n");
  auto fim = m_host.Dialogos()[0].aoFechar;
  EXPECT_EQ(std::tuple(fim.at(L::IDC_EXPORTA).marcado, fim.at(L::IDC_EXPORTA).habilitado,
                       fim.at(L::IDC_COTEPE_INICIAL).habilitado, fim.at(L::IDC_DATA_INICIAL).habilitado),
            std::tuple(1, false, true, false));
  m_host.Limpa();
  Executa("clica 13059\nclica 13015\n");
  fim = m_host.Dialogos()[0].aoFechar;
  EXPECT_EQ(std::tuple(fim.at(L::IDC_EXPORTA).marcado, fim.at(L::IDC_EXPORTA).habilitado,
                       fim.at(L::IDC_REDUCAO_FINAL).habilitado, fim.at(L::IDC_COTEPE_INICIAL).habilitado),
            std::tuple(0, true, true, false));
  // The export box is a check box among the radio ids: it is no radio.
  EXPECT_EQ(std::tuple(fim.at(L::IDC_POR_REDUCAO).marcado, fim.at(L::IDC_POR_PERIODO).marcado, fim.at(L::IDC_ATO_COTEPE).marcado),
            std::tuple(1, 0, 0));
}

TEST_F(LeituraMemoriaFiscal, ValidacoesDeixamODialogoAberto) {
  const struct {
    const char* roteiro;
    const char* mensagem;
  } casos[] = {
      {"clica 13015\ndigita 13019 0\nclica 1\n", "Redução Inicial deve ser maior do que zero."},
      {"clica 13015\ndigita 13019 7\ndigita 13020 3\nclica 1\n", "Redução Inicial maior do que a Redução Final."},
      {"clica 13015\ndigita 13019 12x\ndigita 13020 9\nclica 1\n", "Redução Inicial maior do que a Redução Final."},
      {"digita 13017 ontem\nclica 1\n", "Data Inicial inválida."},
  };
  for (const auto& caso : casos) {
    m_host.Limpa();
    Executa(caso.roteiro);
    ASSERT_EQ(m_host.Caixas().size(), 1u) << caso.roteiro << testing::PrintToString(TextosCaixas());
    EXPECT_EQ(testes::Caixa(m_host, 0), std::tuple(caso.mensagem, kTitulo, ui::MB_OK | ui::MB_ICONEXCLAMATION));
    EXPECT_EQ(m_host.Dialogos()[0].resultado, ui::IDCANCEL);  // left open, cancelled by the script's end
  }
  EXPECT_FALSE(std::filesystem::exists(PastaImpressora() / "impressao-BE0512SC556.txt"));
}

// A reading whose type buttons another window has cleared.
class LeituraSemTipo : public L {
 public:
  bool OnInitDialog() override {
    const bool resultado = L::OnInitDialog();
    CheckDlgButton(L::IDC_POR_PERIODO, ui::BST_UNCHECKED);
    return resultado;
  }
};

TEST_F(LeituraMemoriaFiscal, SemTipoEscolhidoOAvisoDeixaODialogoAberto) {
  m_host.CarregaRoteiro("dialogo 14024\nclica 1\n");
  LancaDialogo<LeituraSemTipo>([](L& d, const TriploConexao&) { return d.Inicializa("TESTE", 1, 0, "c"); });
  EXPECT_EQ(TextosCaixas(), std::vector<std::string>{"Tipo de leitura de MFD selecionado é inválido."});
  EXPECT_EQ(m_host.Dialogos()[0].resultado, ui::IDCANCEL);  // left open, cancelled by the script's end
}

// Checks that the period edits cannot reach: the texts are put in place
// without the operator's focus changes, as another window could. Idle time
// redoes the enabling another window changed.
TEST_F(LeituraMemoriaFiscal, ValidacoesDeDatasNoOKEOciosoRefazAHabilitacao) {
  const struct {
    int radio, inicial, final;
    const char *textoInicial, *textoFinal, *mensagem;
  } casos[] = {
      {L::IDC_POR_PERIODO, L::IDC_DATA_INICIAL, L::IDC_DATA_FINAL, "14/06/2024", "13/06/2024",
       "Data Inicial maior do que a Data Final."},
      {L::IDC_POR_PERIODO, L::IDC_DATA_INICIAL, L::IDC_DATA_FINAL, "16/06/2024", "17/06/2024",
       "Data Inicial maior que a data atual."},
      {L::IDC_ATO_COTEPE, L::IDC_COTEPE_INICIAL, L::IDC_COTEPE_FINAL, "10/06/2024", "16/06/2024",
       "Data Final maior que a data atual."},
      {L::IDC_ATO_COTEPE, L::IDC_COTEPE_INICIAL, L::IDC_COTEPE_FINAL, "10/06/2024", "31/04/2024",
       "Data Final inválida."},
  };
  ui::TrocaRecursos troca(ui::ModuloBiblioteca());
  for (const auto& caso : casos) {
    m_host.Limpa();
    L dialogo;
    dialogo.Inicializa("TESTE", 1, 0, "c");
    ASSERT_TRUE(dialogo.Cria());
    dialogo.Clica(caso.radio);
    dialogo.SetDlgItemText(caso.inicial, caso.textoInicial);
    dialogo.SetDlgItemText(caso.final, caso.textoFinal);
    dialogo.Clica(ui::IDOK);
    EXPECT_EQ(TextosCaixas(), std::vector<std::string>{caso.mensagem});
    EXPECT_TRUE(dialogo.Aberto());
  }
  L dialogo;
  dialogo.Inicializa("TESTE", 1, 0, "c");
  ASSERT_TRUE(dialogo.Cria());
  dialogo.GetDlgItem(L::IDC_REDUCAO_INICIAL).EnableWindow(true);
  dialogo.GetDlgItem(L::IDC_DATA_FINAL).EnableWindow(false);
  dialogo.OnIdle();
  EXPECT_FALSE(dialogo.GetDlgItem(L::IDC_REDUCAO_INICIAL).IsWindowEnabled());
  EXPECT_TRUE(dialogo.GetDlgItem(L::IDC_DATA_FINAL).IsWindowEnabled());
}

TEST_F(LeituraMemoriaFiscal, SemExportarImprimeEFecha) {
  EXPECT_EQ(ExecutaTipo("s", "digita 13017 10/06/2024\nclica 1\n"), ui::IDOK) << testing::PrintToString(TextosCaixas());
  EXPECT_TRUE(m_host.Caixas().empty());
  const std::string impresso = PastaTemporaria::Le((PastaImpressora() / "impressao-BE0512SC556.txt").string());
  EXPECT_NE(impresso.find("LEITURA DA MEMORIA FISCAL SIMPLIFICADA"), std::string::npos) << impresso;
  EXPECT_NE(impresso.find("INTERVALO POR DATA: 10/06/2024 A 15/06/2024"), std::string::npos) << impresso;
  // By reductions, the complete reading: its kind reaches the printer.
  ASSERT_EQ(ExecutaTipo("c", "clica 13015\ndigita 13019 1\ndigita 13020 2\nclica 1\n"), ui::IDOK);
  const std::string segunda = PastaTemporaria::Le((PastaImpressora() / "impressao-BE0512SC556.txt").string());
  const std::string reducoes = segunda.substr(segunda.rfind("LEITURA DA MEMORIA FISCAL"));
  EXPECT_EQ(reducoes.rfind("LEITURA DA MEMORIA FISCAL COMPLETA", 0), 0u) << reducoes;
  EXPECT_NE(reducoes.find("INTERVALO POR REDUCAO: 1 A 2"), std::string::npos) << reducoes;
  EXPECT_TRUE(NadaEnviado());
}

TEST_F(LeituraMemoriaFiscal, ExportadaPorDataOuPorReducaoLevaOIntervaloNoNome) {
  ASSERT_EQ(ExecutaTipo("c", "digita 13017 1/6/24\nclica 13016\nclica 1\n"), ui::IDOK)
      << testing::PrintToString(TextosCaixas());
  const std::string nomeData = "LMFCompleta0106202415062024BE0512SC556.txt";
  ASSERT_TRUE(std::filesystem::exists(Enviado(nomeData)));
  const std::string conteudo = PastaTemporaria::Le(Enviado(nomeData).string());
  EXPECT_NE(conteudo.find("INTERVALO POR DATA: 01/06/2024 A 15/06/2024\r\n"), std::string::npos) << conteudo;
  EXPECT_TRUE(testes::AssinaturaConfereNaLinhaDeComando(conteudo));
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_EQ(testes::TextoETitulo(m_host, 0), std::tuple("Arquivo gerado em\r\n" + CaminhoMostrado(nomeData), kTitulo));
  // The answer file is the reading itself and stays, signed, where it was.
  EXPECT_EQ(Retorno(), conteudo);

  m_host.Limpa();
  ASSERT_EQ(ExecutaTipo("s", "clica 13015\ndigita 13019 0003\ndigita 13020 12\nclica 13016\nclica 1\n"), ui::IDOK);
  const std::string nomeReducao = "LMFSimplificada000312BE0512SC556.txt";
  ASSERT_TRUE(std::filesystem::exists(Enviado(nomeReducao))) << testing::PrintToString(TextosCaixas());
  const std::string porReducao = PastaTemporaria::Le(Enviado(nomeReducao).string());
  EXPECT_NE(porReducao.find("INTERVALO POR REDUCAO: 0003 A 12\r\n"), std::string::npos);
  EXPECT_NE(porReducao.find("LEITURA DA MEMORIA FISCAL SIMPLIFICADA"), std::string::npos) << porReducao;
}

TEST_F(LeituraMemoriaFiscal, ExportadaSemCaminhoDeRetornoTerminaCalada) {
  Impressora("Falhas=PegaPathArqRetorno\n");
  EXPECT_EQ(ExecutaTipo("c", "clica 13016\nclica 1\n"), ui::IDCANCEL);
  EXPECT_TRUE(m_host.Caixas().empty());
  EXPECT_TRUE(NadaEnviado());
  // The reading was still written by the printer, and is left alone.
  EXPECT_EQ(Retorno().find("EAD"), std::string::npos);
  EXPECT_NE(Retorno().find("LEITURA DA MEMORIA FISCAL COMPLETA"), std::string::npos);
  // A reading the printer did not write cannot be signed: nothing sent,
  // nothing said; the earlier reading left in the folder is not passed off
  // as this one.
  Impressora("Falhas=LeituraMemoriaFiscalData\n");
  m_host.Limpa();
  EXPECT_EQ(ExecutaTipo("c", "clica 13016\nclica 1\n"), ui::IDCANCEL);
  EXPECT_TRUE(m_host.Caixas().empty()) << testing::PrintToString(TextosCaixas());
  EXPECT_TRUE(NadaEnviado());
}

#if !defined(_WIN32)  // a full disk is injected with RLIMIT_FSIZE
// A reading the printer wrote whole, on a disk without room for its EAD
// line (a file-size limit of the reading's own size): a box tells it,
// nothing is stored and the reading stays unsigned where it was.
TEST_F(LeituraMemoriaFiscal, SemEspacoParaAAssinaturaUmaCaixaDizENadaSeGuarda) {
  const std::string roteiro = "digita 13017 1/6/24\nclica 13016\nclica 1\n";
  ASSERT_EQ(ExecutaTipo("c", roteiro), ui::IDOK);
  const std::string lida = Retorno().substr(0, Retorno().rfind("EAD"));
  std::filesystem::remove_all(m_empresa.PastaEC() / "Arquivos-Eletronicos");
  m_host.Limpa();
  EXPECT_EQ(testes::ComLimite(lida.size(), [&] { return ExecutaTipo("c", roteiro); }), ui::IDCANCEL);
  ASSERT_EQ(TextosCaixas().size(), 1u) << testing::PrintToString(TextosCaixas());
  EXPECT_EQ(TextosCaixas()[0].rfind("Não foi possível assinar o arquivo\r\n", 0), 0u) << TextosCaixas()[0];
  EXPECT_NE(TextosCaixas()[0].find("passou do tamanho que o sistema permite"), std::string::npos);
  EXPECT_TRUE(NadaEnviado());
  EXPECT_EQ(Retorno(), lida);
}
#endif

TEST_F(LeituraMemoriaFiscal, AtoCotepeAssinaEnviaEApaga) {
  ASSERT_EQ(ExecutaTipo("c", "clica 13059\ndigita 13060 10/06/24\nclica 1\n"), ui::IDOK)
      << testing::PrintToString(TextosCaixas());
  // The first generation keeps the zeros; the serial takes 20 characters.
  const std::string nome = "BE0512SC556         _10062024_15062024.txt";
  ASSERT_TRUE(std::filesystem::exists(Enviado(nome)));
  const std::string conteudo = PastaTemporaria::Le(Enviado(nome).string());
  EXPECT_EQ(conteudo.rfind("E01BE0512SC556", 0), 0u) << conteudo;
  EXPECT_NE(conteudo.find("E12BE0512SC556"), std::string::npos) << conteudo;
  // A fiscal memory: the ECF, its user, the reductions and their
  // totalizers; none of the detail memory's documents.
  const auto linhas = qmx::testes::LinhasCRLF(conteudo.substr(0, conteudo.rfind("EAD")));
  for (const auto& linha : linhas) EXPECT_NE(std::string("E01E02E12E13").find(linha.substr(0, 3)), std::string::npos) << linha;
  EXPECT_EQ(linhas[0].substr(112, 3), "MF ");
  EXPECT_TRUE(testes::AssinaturaConfereNaLinhaDeComando(conteudo));
  EXPECT_FALSE(std::filesystem::exists(PastaImpressora() / nome));
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_EQ(testes::TextoETitulo(m_host, 0), std::tuple("Arquivo gerado em\r\n" + CaminhoMostrado(nome), kTitulo));
}

TEST_F(LeituraMemoriaFiscal, AtoCotepeComFalhasDaImpressora) {
  const struct {
    const char* falha;
    const char* mensagem;
  } casos[] = {
      {"PegaPathArqRetorno", "Não foi possível ler caminho do arquivo de retorno."},
      {"ArquivoMF", "Não foi possível localizar o retorno da impressora"},
      {"PegaNumeroSerie", "Não foi possível localizar o retorno da impressora"},
  };
  for (const auto& caso : casos) {
    m_host.Limpa();
    // A file left by an earlier case would be taken for the new one.
    std::filesystem::remove_all(PastaImpressora());
    Impressora(std::string("Falhas=") + caso.falha + "\n");
    EXPECT_EQ(ExecutaTipo("c", "clica 13059\nclica 1\n"), ui::IDCANCEL) << caso.falha;
    ASSERT_EQ(m_host.Caixas().size(), 1u) << caso.falha;
    EXPECT_EQ(testes::TextoETitulo(m_host, 0), std::tuple(caso.mensagem, kTitulo));
    EXPECT_TRUE(NadaEnviado()) << caso.falha;
  }
}

// With ECFs controlled per branch, the printer must be an ECF of an enabled
// branch. None of these failures can be mended in the dialog: each closes
// it at once (a second OK in the script finds it closed).
TEST_F(LeituraMemoriaFiscal, ECFControladoPorFilial) {
  m_empresa.ECFPorFilial(true);
  EXPECT_EQ(Executa("clica 1\n"), ui::IDOK) << testing::PrintToString(TextosCaixas());
  EXPECT_TRUE(std::filesystem::remove(PastaImpressora() / "impressao-BE0512SC556.txt"));
  auto& base = m_empresa.Gravador().Sessao();
  const struct {
    const char* serie;
    const char* ajuste;
    const char* desfaz;
    std::uint32_t mensagem;
  } casos[] = {
      {"OUTRA", "", "", 122},  // this computer's printer is none of the company's ECFs
      // the printer is the first of the list, but no ECF has number 1
      {"BE0512SC556", "UPDATE emissora SET numero = 7 WHERE numero = 1",
       "UPDATE emissora SET numero = 1 WHERE numero = 7", 238},
      // the ECF's branch cannot be read
      {"BE0512SC556", "UPDATE emissora SET filial = 9", "UPDATE emissora SET filial = 1", 162},
      // the ECF's branch is not enabled for ECF use
      {"BE0512SC556", "UPDATE filial SET habilitada_ecf = 0 WHERE numero = 1",
       "UPDATE filial SET habilitada_ecf = 1 WHERE numero = 1", 161},
  };
  for (const auto& c : casos) {
    m_host.Limpa();
    Impressora(std::string("NumeroSerie=") + c.serie + "\n");
    if (*c.ajuste) base.Executa(c.ajuste, {});
    EXPECT_EQ(Executa("clica 1\nclica 1\n"), ui::IDCANCEL) << c.mensagem;
    EXPECT_EQ(TextosCaixas(), std::vector<std::string>{TextoMensagem(c.mensagem)});
    if (*c.desfaz) base.Executa(c.desfaz, {});
  }
  EXPECT_FALSE(std::filesystem::exists(PastaImpressora() / "impressao-BE0512SC556.txt"));
}

// The readings of the fiscal memory and of the MFD share one source name:
// a file that cannot be stored is reported under it.
TEST_F(LeituraMemoriaFiscal, ArquivoQueNaoSeGuardaRelataAFonteDaLeitura) {
  m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Empresas\\TESTE]\nEC=\n");
  m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Torvo ECF]\nPath=" + m_empresa.Pasta().Caminho("inst") + "\n");
  const std::function<int()> execucoes[] = {
      [&] { return ExecutaTipo("c", "clica 13059\ndigita 13060 10/06/24\nclica 1\n"); },
      [&] { return ExecutaTipo("c", "digita 13017 1/6/24\nclica 13016\nclica 1\n"); },
      [&] { return AmbienteMemoriaFiscal::Executa<CQMXEspelhoMFD>("dialogo 14007\nresposta sim\nclica 1\n"); },
      [&] { return AmbienteMemoriaFiscal::Executa<CQMXArquivoMFD>("dialogo 14025\nclica 1\n"); },
  };
  for (const auto& executa : execucoes) {
    m_host.Limpa();
    executa();
    ASSERT_FALSE(m_host.Caixas().empty());
    EXPECT_NE(m_host.Caixas().back().texto.find("Origem: QMXLeituraMemoriaFiscal,"), std::string::npos)
        << m_host.Caixas().back().texto;
  }
}

}  // namespace
