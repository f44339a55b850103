#include <gtest/gtest.h>

#include "apoio/EmpresaTeste.h"
#include "frame/QMXUTIL.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/mensagens/CatalogoMensagens.h"
#include "plataforma/ui/HostRoteirizado.h"

using namespace qmx;
using qmx::testes::EmpresaTeste;

namespace {

class Parametrizacao : public ::testing::Test {
 protected:
  Parametrizacao() : m_ativo(m_host) {
    m_empresa.ImpressoraEmulada("BE0512SC556");
    m_empresa.ECFPorFilial(false);
    m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
    QMX_Inicializa(m_empresa.Chave().c_str(), 1, 0);
  }
  ~Parametrizacao() override { QMX_Inicializa("", 0, 0); }

  // A branch of a state with its point-of-sale parameters, and an ECF.
  void Filial(const std::string& uf, std::uint8_t semPreVenda, std::uint8_t semDAV, bool autonomo,
              std::uint8_t programaCredito = 0) {
    REG_FILIALPS f = m_empresa.Filial(1, "Loja", uf, "Loja Ltda");
    f.ProgramaCredito = programaCredito;
    m_empresa.Gravador().GravaFilial(f, "Loja Ltda");
    REG_EC_MESTRE_FILIALPS p{};
    p.Filial = 1;
    testes::Copia(p.UF, uf);
    p.SemPreVenda = semPreVenda;
    p.SemDAV = semDAV;
    m_empresa.Gravador().GravaMestreFilial(p);
    REG_EMISSORPS e = m_empresa.Emissora(1, 1, "BE0512SC556");
    e.Autonomo = autonomo ? 1 : 0;
    m_empresa.Gravador().GravaEmissora(e);
  }
  std::string Impresso() const {
    const auto relatorios = impressora::RelatoriosImpressos();
    return relatorios.empty() ? std::string() : relatorios.back().texto;
  }
  static std::string Item(const std::string& titulo, const std::string& resposta) {
    return "\n" + titulo + "\n" + resposta;
  }

  EmpresaTeste m_empresa;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;
};

TEST_F(Parametrizacao, RelatorioDeUmaFilialComDAVEPreVenda) {
  Filial("SP", 0, 0, false);
  ASSERT_TRUE(ECImprimeParametrizacao(1, 1));
  const auto relatorios = impressora::RelatoriosImpressos();
  ASSERT_EQ(relatorios.size(), 1u);
  EXPECT_EQ(relatorios[0].titulo, "PARAM. CONFIG.");
  EXPECT_TRUE(relatorios[0].fechado);
  const std::string texto = relatorios[0].texto;
  EXPECT_EQ(texto.rfind("--- Parâmetros de configuração do PAF-ECF ---\n\nTodas as parametrizações", 0), 0u);
  // The dash of the requirement lines is the code page's en dash, byte 150.
  EXPECT_NE(texto.find(Item("Emissão de DAV:", "(REQUISITO IV \x96 Item 1)\nSim\n")), std::string::npos);
  EXPECT_NE(texto.find(Item("Tipo de funcionamento:", "(REQUISITO III)\nEm Rede\n")), std::string::npos);
  EXPECT_NE(texto.find(Item("Realiza registros de Pré-Venda:", "(REQUISITO IV \x96 Item 2)\nSim\n")),
            std::string::npos);
  EXPECT_NE(texto.find(Item("Equipamento para impressão de DAV:", "(REQUISITO IV \x96 Item 3 e 4)\nImpressor não fiscal\n")),
            std::string::npos);
  EXPECT_NE(texto.find(Item("Impressão do código para o programa MINAS LEGAL:", "(Requisito VIII-A \x96 Item 2)\nNão\n")),
            std::string::npos);
  EXPECT_EQ(texto.substr(texto.size() - 54), "\nImprime do código para o programa PARAÍBA LEGAL:\nNão\n");
}

TEST_F(Parametrizacao, RespostasPorEstadoEModo) {
  Filial("mg", 1, 1, true);
  ASSERT_TRUE(ECImprimeParametrizacao(1, 1));
  std::string texto = Impresso();
  EXPECT_NE(texto.find("(REQUISITO III)\nStand Alone\n"), std::string::npos);
  EXPECT_NE(texto.find("(REQUISITO IV \x96 Item 1)\nNão\n"), std::string::npos);           // no DAV
  EXPECT_NE(texto.find("(REQUISITO IV \x96 Item 3 e 4)\nNão se aplica\n"), std::string::npos);
  EXPECT_NE(texto.find("MINAS LEGAL:\n(Requisito VIII-A \x96 Item 2)\nSim\n"), std::string::npos);  // any case

  Filial("es", 0, 0, false);
  ASSERT_TRUE(ECImprimeParametrizacao(1, 1));
  EXPECT_NE(Impresso().find("(REQUISITO IV \x96 Item 3 e 4)\nECF\n"), std::string::npos);

  Filial("DF", 0, 0, false, 1);
  ASSERT_TRUE(ECImprimeParametrizacao(1, 1));
  texto = Impresso();
  EXPECT_NE(texto.find("NOTA LEGAL:\nSim\n"), std::string::npos);
  EXPECT_NE(texto.find("Lei 4159/08\nSim\n"), std::string::npos);
  Filial("DF", 0, 0, false, 0);
  ASSERT_TRUE(ECImprimeParametrizacao(1, 1));
  EXPECT_NE(Impresso().find("Lei 4159/08\nNão\n"), std::string::npos);
}

TEST_F(Parametrizacao, SemDadosOuFilialNaoHabilitadaNadaImprime) {
  EXPECT_FALSE(ECImprimeParametrizacao(1, 1));  // no point-of-sale parameters for the branch
  EXPECT_TRUE(impressora::RelatoriosImpressos().empty());

  Filial("SP", 0, 0, false);
  m_empresa.ECFPorFilial(true);
  m_empresa.Gravador().Sessao().Executa("UPDATE filial SET habilitada_ecf = 0 WHERE numero = 1", {});
  EXPECT_FALSE(ECImprimeParametrizacao(1, 1));
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_EQ(m_host.Caixas()[0].texto, mensagens::CCatalogoMensagens::Le("EC", 161).texto);
  EXPECT_TRUE(impressora::RelatoriosImpressos().empty());

  QMX_Inicializa("EMPRESA-SEM-BASE", 1, 0);
  EXPECT_FALSE(ECImprimeParametrizacao(1, 1));
}

TEST_F(Parametrizacao, ModoDoECFIlegivelContaComoEmRede) {
  Filial("SP", 0, 0, true);
  ASSERT_TRUE(ECImprimeParametrizacao(1, 9));  // ECF 9 does not exist
  EXPECT_NE(Impresso().find("(REQUISITO III)\nEm Rede\n"), std::string::npos);
  EXPECT_FALSE(m_host.Caixas().empty());  // the failed read was reported
}

}  // namespace
