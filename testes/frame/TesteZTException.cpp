#include <gtest/gtest.h>

#include "apoio/Caixas.h"
#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "frame/CarimboCompilacao.h"
#include "frame/ErroHost.h"
#include "frame/TabelaSistemas.h"
#include "frame/ZTException.h"
#include "plataforma/com/HResult.h"
#include "plataforma/eventos/LogEventos.h"
#include "plataforma/mensagens/AplicacaoHospedeira.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostRoteirizado.h"

namespace {

using qmx::CTabelaSistemas;
using qmx::testes::PastaTemporaria;
using qmx::testes::RegistroTemporario;
namespace ui = qmx::ui;

// The scripted host, active while it lives, with a registry whose message
// folder is `pasta` (our catalogues unless told).
class HostComMensagens : public ui::HostRoteirizado {
 public:
  explicit HostComMensagens(const std::string& pasta = QMX_FONTES_RAIZ "/recursos/mensagens")
      : m_registro("[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" + pasta + "\n") {}

 private:
  RegistroTemporario m_registro;
  ui::HostTemporario m_ativo{*this};
};

TEST(ZTException, SemTextoSemCatalogoComErroDoSistema) {
  HostComMensagens host;
  const CZTException excecao(7u, CTabelaSistemas::kSistemaECF, 5u);
  const std::string esperado = "Erro desconhecido encontrado. C\xF3" "digo (7)\nErro do SO: 5 - Acesso negado.";
  EXPECT_EQ(excecao.GetTextoMensagem(), esperado);
  EXPECT_EQ(excecao.what(), esperado);
  EXPECT_TRUE(host.Caixas().empty());

  // Reported: captioned by the system's product title, exclamation added.
  EXPECT_EQ(excecao.ReportError(), ui::IDOK);
  ASSERT_EQ(host.Caixas().size(), 1u);
  EXPECT_EQ(qmx::testes::Caixa(host, 0), std::tuple(esperado, "Torvo ECF", ui::MB_ICONEXCLAMATION));
  // Flags that carry an icon stay as they are.
  host.AdicionaResposta(ui::IDNO);
  EXPECT_EQ(excecao.ReportError(ui::MB_YESNO | ui::MB_ICONQUESTION), ui::IDNO);
  EXPECT_EQ(host.Caixas()[1].flags, ui::MB_YESNO | ui::MB_ICONQUESTION);
  excecao.ReportError(ui::MB_ICONINFORMATION);
  EXPECT_EQ(host.Caixas()[2].flags, ui::MB_ICONINFORMATION);
  EXPECT_TRUE(excecao.GetRuntimeClass()->IsDerivedFrom(&CExcecaoFramework::classCExcecaoFramework));
}

TEST(ZTException, TextoDoCatalogoTextoProprioENumeroGrande) {
  HostComMensagens host;
  EXPECT_EQ(CZTException(280u, 19u).GetTextoMensagem(), "Selecione a filial.");
  EXPECT_EQ(CZTException(1529u, CTabelaSistemas::PorModulo("DF")->numero).GetTextoMensagem(),
            "Usu\xE1rio ou senha n\xE3o conferem.\nDigite-os novamente.");
  // Its own text wins, and the catalogue is not looked at.
  EXPECT_EQ(CZTException(std::string("Valor fora da faixa"), 19u).GetTextoMensagem(), "Valor fora da faixa");
  EXPECT_EQ(CZTException(std::string("Valor fora da faixa"), 19u).GetMensagem(), 0u);
  // Numbers above the signed range show as the signed format reads them.
  EXPECT_EQ(CZTException(3000000000u, 19u).GetTextoMensagem(),
            "Erro desconhecido encontrado. C\xF3" "digo (-1294967296)");
  // A system code the system has no text for.
  EXPECT_EQ(CZTException(std::string("X"), 19u, 4242u).GetTextoMensagem(), "X\nErro do SO: 4242 - ");
  // Outside the table: no catalogue, no caption of its own.
  const CZTException fora(110u, 99u);
  EXPECT_EQ(fora.GetTextoMensagem(), "Erro desconhecido encontrado. C\xF3" "digo (110)");
  fora.ReportError();
  EXPECT_EQ(host.Caixas().back().titulo, "qmx_testes");
  EXPECT_TRUE(host.Caixas().size() == 1u);
}

TEST(ZTException, CatalogoAusenteMostraSuaCaixa) {
  PastaTemporaria vazia;
  HostComMensagens host(vazia.Pasta().string());
  const CZTException excecao(110u, 19u);
  // what() never shows a box.
  EXPECT_EQ(std::string(excecao.what()), "Erro desconhecido encontrado. C\xF3" "digo (110)");
  EXPECT_TRUE(host.Caixas().empty());

  char buffer[16];
  EXPECT_TRUE(excecao.GetErrorMessage(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "Erro desconheci");  // cut to the size minus one
  ASSERT_EQ(host.Caixas().size(), 1u);
  EXPECT_EQ(qmx::testes::Caixa(host, 0),
            std::tuple("N\xE3o foi poss\xEDvel abrir o arquivo texto de Mensagens " + vazia.Caminho("ZTECMens.txt") +
                           ". Caso o caminho esteja correto, atualize o arquivo.",
                       "Erro", ui::MB_ICONEXCLAMATION));
  unsigned ajuda = 77;
  char minimo[1] = {'x'};
  EXPECT_TRUE(excecao.GetErrorMessage(minimo, 1, &ajuda));
  EXPECT_EQ(minimo[0], '\0');
  EXPECT_EQ(ajuda, 0u);
}

TEST(MensagensDoFabricante, ZTTrataErro2EORegistroDoHost) {
  HostComMensagens host;
  qmx::eventos::CCapturaEventos captura;
  EXPECT_TRUE(qmx::mensagens::ZTTrataErro2(qmx::com::RPC_S_SERVER_UNAVAILABLE, 267601, 0, "EMPRESA1",
                                           "QMXAutorizacao", 146, "May 23 2014 15:56:06"));
  ASSERT_EQ(host.Caixas().size(), 1u);
  const std::string& texto = host.Caixas()[0].texto;
  for (const char* parte : {"0x800706BA", "O servidor RPC n\xE3o est\xE1 dispon\xEDvel.", "267601", "EMPRESA1",
                            "QMXAutorizacao, linha 146", "May 23 2014 15:56:06"})
    EXPECT_NE(texto.find(parte), std::string::npos) << parte;
  EXPECT_EQ(host.Caixas()[0].flags, ui::MB_ICONERROR);
  ASSERT_EQ(captura.Eventos().size(), 1u);
  EXPECT_EQ(captura.Eventos()[0].tipo, qmx::eventos::EVENTLOG_ERROR_TYPE);

  // The host's application object gets the record as filled.
  struct Aplicacao : qmx::mensagens::IAplicacaoHospedeira {
    qmx::mensagens::REG_ERRO_APLICACAO recebido;
    int vezes = 0;
    void MostraErro(const qmx::mensagens::REG_ERRO_APLICACAO& erro) override {
      recebido = erro;
      ++vezes;
    }
  } aplicacao;
  auto* anterior = qmx::mensagens::DefineAplicacao(&aplicacao);
  qmx::InformaErroHost(-5, 224693, 7, "QMXUTIL", 66, "Jan  2 2015 01:02:03");
  qmx::mensagens::DefineAplicacao(anterior);
  const auto& r = aplicacao.recebido;
  EXPECT_EQ(std::tuple(aplicacao.vezes, r.nResultado, r.nMensagem, r.nDetalhe, r.nLinha, r.strArquivo, r.strCompilacao),
            std::tuple(1, -5, 224693u, 7, 66, std::string("QMXUTIL"), std::string("Jan  2 2015 01:02:03")));
  // Without an application object of the program's own, the maker's
  // reporter shows it.
  qmx::InformaErroHost(-5, 1, 0, "QMXUTIL", 10, "x");
  EXPECT_EQ(host.Caixas().size(), 2u);
}

}  // namespace
