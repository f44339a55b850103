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

TEST_F(SelecaoFilialECF, SemEmpresaAsEdicoesFicamVazias) {
  QMX_Inicializa("", 0, 0);
  QMX_SetFilial(0, 0, nullptr);
  EXPECT_EQ(Seleciona("clica 1\n"), 0);
  EXPECT_EQ(std::tuple(Dialogo().titulo, Dialogo().aposInicio.at(kFilial).texto, Dialogo().aposInicio.at(kNomeFilial).texto),
            std::tuple("", "", ""));
  EXPECT_EQ(TextosCaixas(), std::vector<std::string>{"Selecione a filial."});
}

}  // namespace
