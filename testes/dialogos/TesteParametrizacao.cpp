// The configuration-parameters report as the emulated printer received it:
// every item's title, requirement and answer, piece by piece, per state.
#include <gtest/gtest.h>

#include "apoio/Caixas.h"
#include "apoio/EmpresaTeste.h"
#include "frame/QMXUTIL.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/mensagens/CatalogoMensagens.h"
#include "plataforma/ui/HostRoteirizado.h"

using namespace qmx;
using qmx::testes::EmpresaTeste;

namespace {

// The scripted host, noting how many pieces the printer had received when
// each box was shown.
class HostQueContaPecas : public ui::HostRoteirizado {
 public:
  int MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) override {
    pecasAntes.push_back(impressora::PecasRelatorio().size());
    return ui::HostRoteirizado::MostraCaixa(texto, titulo, flags);
  }
  std::vector<std::size_t> pecasAntes;
};

// The answers that vary, and the five pieces of items they give.
struct Respostas {
  const char* modo = "Em Rede";
  const char* dav = "Sim";
  const char* preVenda = "Sim";
  const char* equipamento = "Impressor não fiscal";
  const char* minas = "Não";
  const char* cupomMania = "Não";
  const char* notaLegal = "Não";
  const char* credito = "Não";
  const char* paraiba = "Não";
};

std::vector<std::string> PecasEsperadas(const Respostas& r) {
  const std::string s = "\n";
  return {
      "--- Parâmetros de configuração do PAF-ECF ---\n\n",
      "Todas as parametrizações relacionadas neste relatório são de configuração inacessível ao usuário do "
      "PAF-ECF. A ativação ou não destes parâmetros é determinada pela unidade federada e somente pode ser feita "
      "pela intervenção da empresa desenvolvedora do PAF-ECF.\n\n",
      "\nImpedir o registro de venda de produtos com estoque zero ou negativo:\n(Requisito - XXXVI-A)\nNão se aplica\n"
      "\nTipo de funcionamento:\n(REQUISITO III)\n" + std::string(r.modo) + s +
          "\nEmissão de DAV-OS para oficina de conserto:\n(REQUISITO IV \x96 Item 1)\nNão se aplica\n"
          "\nEmissão de DAV:\n(REQUISITO IV \x96 Item 1)\n" + r.dav + s +
          "\nRealiza registros de Pré-Venda:\n(REQUISITO IV \x96 Item 2)\n" + r.preVenda + s,
      "\nEquipamento para impressão de DAV:\n(REQUISITO IV \x96 Item 3 e 4)\n" + std::string(r.equipamento) + s +
          "\nRealiza registro de Conta de Cliente:\n(REQUISITO IV \x96 Item 6)\nNão se aplica\n"
          "\nTela para consulta de preço permite:\n(REQUISITO XVIII)\n"
          "\na) Totalização dos valores da lista de itens ;\nNão se aplica\n"
          "\nb) Transformação das informações digitadas em registro de pré-venda ;\nNão se aplica\n"
          "\nc) A utilização das informações digitadas para impressão de Documento Auxiliar de Vendas ;\n"
          "Não se aplica\n"
          "\nEmissão de documento fiscal por PED (REQUISITO XVII, Item 1 - b):\n(REQUISITO XXII \x96 Item 6)\n"
          "Não se aplica\n",
      "\nExecuta recomposição de GT se tiver ocorrido incremento do CRO?:\n(REQUISITO XXII \x96 Item 7)\n"
      "Não se aplica\n"
      "\nImpressão do código para o programa MINAS LEGAL:\n(Requisito VIII-A \x96 Item 2)\n" + std::string(r.minas) + s +
          "\nImpressão dos dados para o programa CUPOM MANIA:\n(Requisito VIII-A \x96 Item 3)\n" + r.cupomMania + s,
      "\nImpressão dos dados para o programa NOTA LEGAL:\n" + std::string(r.notaLegal) + s +
          "\nEstabelecimento está incluído no programa de concessão de créditos - Lei 4159/08\n" + r.credito + s,
      "\nImprime do código para o programa PARAÍBA LEGAL:\n" + std::string(r.paraiba) + s,
  };
}

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
  void Filial(const std::string& uf, std::uint8_t semPreVenda = 0, std::uint8_t semDAV = 0, bool autonomo = false,
              std::uint8_t programaCredito = 0) {
    REG_FILIALPS f = m_empresa.Filial(1, "Loja", uf, "Loja Ltda");
    f.ProgramaCredito = programaCredito;
    m_empresa.Gravador().GravaFilial(f, "Loja Ltda");
    REG_EC_MESTRE_FILIALPS p{.Filial = 1, .SemPreVenda = semPreVenda, .SemDAV = semDAV};
    testes::Copia(p.UF, uf);
    m_empresa.Gravador().GravaMestreFilial(p);
    REG_EMISSORPS e = m_empresa.Emissora(1, 1, "BE0512SC556");
    e.Autonomo = autonomo ? 1 : 0;
    m_empresa.Gravador().GravaEmissora(e);
  }

  EmpresaTeste m_empresa;
  HostQueContaPecas m_host;
  ui::HostTemporario m_ativo;
};

TEST_F(Parametrizacao, CadaItemEmCadaPecaPorEstadoEParametros) {
  const struct {
    const char* uf;
    std::uint8_t semPreVenda, semDAV, credito;
    bool autonomo;
    Respostas respostas;
  } casos[] = {
      {"SP", 0, 0, 0, false, {}},
      {"SC", 0, 0, 0, true, {.modo = "Stand Alone", .equipamento = "ECF"}},
      {"sc", 0, 1, 0, false, {.dav = "Não", .equipamento = "Não se aplica"}},
      {"es", 1, 0, 0, false, {.preVenda = "Não", .equipamento = "ECF"}},
      {"mg", 0, 0, 0, false, {.minas = "Sim"}},
      {"RJ", 0, 0, 0, false, {.cupomMania = "Sim"}},
      {"rj", 0, 0, 0, false, {}},  // only the capital letters count for Cupom Mania
      {"DF", 0, 0, 1, false, {.notaLegal = "Sim", .credito = "Sim"}},
      {"DF", 0, 0, 0, false, {.notaLegal = "Sim"}},
      {"df", 0, 0, 1, false, {.notaLegal = "Sim", .credito = "Sim"}},
      {"SP", 0, 0, 1, false, {}},  // the credit programme counts only in DF
      {"PB", 0, 0, 0, false, {.paraiba = "Sim"}},
      {"pb", 0, 0, 0, false, {}},
  };
  // A report another routine left open is closed first, as it stood.
  unsigned char indice = 255;
  ASSERT_TRUE(impressora::BuscaIndiceRelatorioGerencial("MEIOS DE PAGTO", indice));
  ASSERT_TRUE(impressora::AbreRelatorioGerencial(indice));
  char interrompido[] = "INTERROMPIDO\n";
  ASSERT_TRUE(impressora::RelatorioGerencial(interrompido));
  for (const auto& c : casos) {
    Filial(c.uf, c.semPreVenda, c.semDAV, c.autonomo, c.credito);
    ASSERT_TRUE(ECImprimeParametrizacao(1, 1)) << c.uf;
    if (&c == casos) {
      const auto primeiro = impressora::RelatoriosImpressos().front();
      EXPECT_EQ(std::tuple(primeiro.titulo, primeiro.texto, primeiro.fechado),
                std::tuple("MEIOS DE PAGTO", "INTERROMPIDO\n", true));
    }
    EXPECT_EQ(impressora::PecasRelatorio(), PecasEsperadas(c.respostas)) << c.uf;
    const auto relatorios = impressora::RelatoriosImpressos();
    ASSERT_FALSE(relatorios.empty());
    EXPECT_EQ(std::tuple(relatorios.back().titulo, relatorios.back().fechado), std::tuple("PARAM. CONFIG.", true));
  }
  EXPECT_TRUE(m_host.Caixas().empty());
}

TEST_F(Parametrizacao, LeiturasQueFalhamAparecemEntreAsPecasEORelatorioSegue) {
  // The ECF's mode, read for the first piece of items: reported after the
  // two opening texts; the item answers "Em Rede".
  Filial("SP", 0, 0, true);
  ASSERT_TRUE(ECImprimeParametrizacao(1, 9));  // ECF 9 does not exist
  ASSERT_EQ(m_host.pecasAntes, std::vector<std::size_t>{2});
  EXPECT_EQ(impressora::PecasRelatorio()[2], PecasEsperadas({})[2]);
  EXPECT_EQ(impressora::PecasRelatorio().size(), 7u);

  // The DF branch record, read for the fourth: reported after three pieces
  // of items; the credit item answers "Não".
  m_host.Limpa();
  m_host.pecasAntes.clear();
  Filial("df", 0, 0, false, 1);
  m_empresa.Gravador().Sessao().Executa("DELETE FROM filial WHERE numero = 1", {});
  ASSERT_TRUE(ECImprimeParametrizacao(1, 1));
  ASSERT_EQ(m_host.pecasAntes, std::vector<std::size_t>{5});
  EXPECT_EQ(impressora::PecasRelatorio()[5], PecasEsperadas({.notaLegal = "Sim"})[5]);
}

TEST_F(Parametrizacao, SemDadosOuFilialNaoHabilitadaNadaImprime) {
  EXPECT_FALSE(ECImprimeParametrizacao(1, 1));  // no point-of-sale parameters for the branch: said so
  EXPECT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_TRUE(impressora::RelatoriosImpressos().empty());
  m_host.Limpa();

  Filial("SP");
  m_empresa.ECFPorFilial(true);
  m_empresa.Gravador().Sessao().Executa("UPDATE filial SET habilitada_ecf = 0 WHERE numero = 1", {});
  EXPECT_FALSE(ECImprimeParametrizacao(1, 1));
  EXPECT_EQ(testes::TextosCaixas(m_host), std::vector<std::string>{mensagens::CCatalogoMensagens::Le("EC", 161).texto});
  EXPECT_TRUE(impressora::RelatoriosImpressos().empty());
  // A branch the server cannot answer for.
  m_host.Limpa();
  EXPECT_FALSE(ECImprimeParametrizacao(9, 1));
  EXPECT_EQ(testes::TextosCaixas(m_host), std::vector<std::string>{mensagens::CCatalogoMensagens::Le("EC", 162).texto});
  EXPECT_TRUE(impressora::RelatoriosImpressos().empty());

  // A company whose database cannot be reached: the cause is shown, as by
  // every report.
  QMX_Inicializa("EMPRESA-SEM-BASE", 1, 0);
  m_host.Limpa();
  EXPECT_FALSE(ECImprimeParametrizacao(1, 1));
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_NE(m_host.Caixas()[0].texto.find("0x800706BA (O servidor RPC não está disponível.)"), std::string::npos) << m_host.Caixas()[0].texto;
  EXPECT_TRUE(impressora::RelatoriosImpressos().empty());
}

}  // namespace
