// The branch/ECF selection behind QMX_GetEmissora, played through the
// scripted host on a company of the test's own.
#include <gtest/gtest.h>

#include "apoio/Caixas.h"
#include "apoio/EmpresaTeste.h"
#include "frame/QMXUTIL.h"
#include "plataforma/ui/HostRoteirizado.h"

using qmx::testes::EmpresaTeste;
namespace ui = qmx::ui;

namespace {

constexpr int kFilial = 13036, kEmissora = 13035, kNomeFilial = 13037, kNomeEmissora = 13038;

class SelecaoFilialECF : public ::testing::Test {
 protected:
  SelecaoFilialECF() : m_ativo(m_host) {
    m_empresa.Filial(1, "Loja Centro", "AL", "Mercado Ávila Ltda");
    m_empresa.Filial(2, "Loja Farol", "AL", "Mercado Ávila Ltda");
    m_empresa.Emissora(1, 1, "BE0512SC556", "Caixa 1");
    m_empresa.Emissora(2, 1, "BE0512SC557", "Caixa 2");
    m_empresa.Emissora(3, 2, "BE0512SC558", "Caixa 3");
    m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
    QMX_Inicializa(m_empresa.Chave().c_str(), 1, 0);
    QMX_SetFilial(0, 0, m_titulo.c_str());
  }

  // Runs the export with a script and returns what it wrote into an out
  // value that held 99 before.
  std::uint16_t Seleciona(const std::string& roteiro) {
    m_host.CarregaRoteiro("dialogo 14027\n" + roteiro);
    std::uint16_t ecf = 99;
    EXPECT_TRUE(QMX_GetEmissora(&ecf));
    EXPECT_TRUE(m_host.Erros().empty()) << m_host.Erros().front();
    return ecf;
  }
  const ui::DialogoExecutado& Dialogo() const { return m_host.Dialogos().back(); }
  std::vector<std::string> TextosCaixas() const { return qmx::testes::TextosCaixas(m_host); }

  const std::string m_titulo = "Escolha o ECF";
  EmpresaTeste m_empresa;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;
};

// Each script with the ECF handed back, the boxes shown, how the dialog
// ended (-1: not checked), whether the ECF edit was left enabled (-1: not
// checked) and the names beside the edits (null: not checked).
TEST_F(SelecaoFilialECF, RoteirosDaSelecao) {
  const struct {
    const char* roteiro;
    std::uint16_t ecf;
    const char* caixa;  // null: none
    int resultado, emissoraHabilitada;
    const char *nomeFilial, *nomeEmissora;
  } casos[] = {
      {"digita 13036 1\ndigita 13035 2\nclica 1\n", 2, nullptr, ui::IDOK, -1, "Loja Centro", "Caixa 2"},
      // No branch asks for it and disables the ECF (then the host cancels);
      // a branch the company does not have counts as none.
      {"digita 13036 0\nclica 1\n", 0, "Selecione a filial.", ui::IDCANCEL, 0, nullptr, nullptr},
      {"digita 13036 9\nclica 1\n", 0, "Selecione a filial.", -1, 0, "Filial não cadastrada", nullptr},
      // Without an ECF the dialog stays open.
      {"digita 13036 1\nclica 1\ndigita 13035 1\nclica 1\n", 1, "Selecione o ECF.", ui::IDOK, -1, nullptr, nullptr},
      // Leaving the branch binds the ECF edit to it: an ECF of another
      // branch is no choice, until the branch is changed afterwards.
      {"digita 13036 1\ndigita 13035 3\nclica 1\n", 0, "Selecione o ECF.", -1, 1, nullptr, "ECF de outra filial"},
      {"digita 13036 1\ndigita 13035 3\ndigita 13036 2\nclica 1\n", 3, nullptr, -1, -1, nullptr, nullptr},
      // Cancel hands back what the dialog holds: 0 at once, or the ECF that
      // an OK attempt without a branch read.
      {"clica 2\n", 0, nullptr, ui::IDCANCEL, -1, nullptr, nullptr},
      {"digita 13035 3\nclica 1\nclica 2\n", 3, "Selecione a filial.", ui::IDCANCEL, -1, nullptr, nullptr},
      // Help does nothing.
      {"ajuda\ndigita 13036 2\najuda\ndigita 13035 3\nclica 1\n", 3, nullptr, -1, -1, nullptr, nullptr},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.roteiro);
    m_host.Limpa();
    EXPECT_EQ(Seleciona(c.roteiro), c.ecf);
    EXPECT_EQ(TextosCaixas(), c.caixa ? std::vector<std::string>{c.caixa} : std::vector<std::string>{});
    EXPECT_EQ(m_host.Dialogos().size(), 1u);
    EXPECT_EQ(Dialogo().titulo, m_titulo);
    if (c.caixa) { EXPECT_EQ(m_host.Caixas()[0].idModeloAberto, 14027); }
    if (c.resultado >= 0) { EXPECT_EQ(Dialogo().resultado, c.resultado); }
    if (c.emissoraHabilitada >= 0) {
      EXPECT_EQ(Dialogo().aoFechar.at(kEmissora).habilitado, c.emissoraHabilitada == 1);
    }
    if (c.nomeFilial) { EXPECT_EQ(Dialogo().aoFechar.at(kNomeFilial).texto, c.nomeFilial); }
    if (c.nomeEmissora) { EXPECT_EQ(Dialogo().aoFechar.at(kNomeEmissora).texto, c.nomeEmissora); }
  }
}

TEST_F(SelecaoFilialECF, SemEmpresaAsEdicoesFicamVazias) {
  QMX_Inicializa("", 0, 0);
  QMX_SetFilial(0, 0, nullptr);
  EXPECT_EQ(Seleciona("clica 1\n"), 0);
  EXPECT_EQ(std::tuple(Dialogo().titulo, Dialogo().aposInicio.at(kFilial).texto, Dialogo().aposInicio.at(kNomeFilial).texto),
            std::tuple("", "", ""));
  EXPECT_EQ(TextosCaixas(), std::vector<std::string>{"Selecione a filial."});
}

}  // namespace
