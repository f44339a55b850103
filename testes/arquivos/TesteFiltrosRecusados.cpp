// The filter dialogs with a branch and an ECF refuse what names no ECF of
// the branch and a period that is no period, in preset and automatic runs
// as well: nothing is widened to all ECFs and no file of blanks is signed.
#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/MovimentoTeste.h"
#include "arquivos/efd/QMXRegistrosEFD.h"
#include "arquivos/paf/QMXMovimentos.h"
#include "arquivos/sintegra/QMXSintegra.h"
#include "frame/ContextoBiblioteca.h"
#include "frame/QMXUTIL.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"

using namespace qmx;
using namespace qmx::testes;
namespace fs = std::filesystem;

namespace {

constexpr const char* kECFIlegivel = "ECF não cadastrado nesta filial.";
std::string ECFDeOutraFilial(const std::string& ecf) { return "O ECF " + ecf + " não está cadastrado na filial 1."; }

// Movimentos started with its automatic flag: branch 1, the ECF and the
// period given.
int MovimentosAutomatico(CenarioArquivos& c, std::uint16_t ecf, NumeroDia inicial, NumeroDia final) {
  c.host.CarregaRoteiro("");
  return LancaDialogo<CQMXMovimentos>([&](CQMXMovimentos& d, const TriploConexao&) {
    return d.Inicializa(c.empresa.Chave(), 1, 0, inicial, final, ecf, 1, 1);
  });
}

TEST(FiltrosRecusados, MovimentosAutomaticoSemECFDaFilialOuComPeriodoInvertido) {
  CenarioArquivos c(CenarioArquivos::Cadastro::PAF);
  const NumeroDia dia1 = CenarioArquivos::Dia(2, 6), dia2 = CenarioArquivos::Dia(3, 6);
  // ECF 3 is of branch 2; ECF 9 does not exist; 0 and 1 on either side.
  struct Caso {
    std::uint16_t ecf;
    NumeroDia inicial, final;
    std::string caixa;
  } casos[] = {{3, dia1, dia2, ECFDeOutraFilial("3")},
               {9, dia1, dia2, ECFDeOutraFilial("9")},
               {1, dia2, dia1, "A data final não pode ser anterior à data inicial.\nCorrija o período e tente novamente."},
               {1, 0, dia2, "Data Inicial inválida."},
               {1, dia1, 0, "Data Final inválida."}};
  for (const auto& caso : casos) {
    c.host.Limpa();
    EXPECT_EQ(MovimentosAutomatico(c, caso.ecf, caso.inicial, caso.final), ui::IDCANCEL) << caso.caixa;
    EXPECT_EQ(TextosCaixas(c.host), std::vector<std::string>{caso.caixa});
    EXPECT_TRUE(c.NadaEnviado()) << caso.caixa;
  }
  // The ECF of the branch and the same day at both ends make the file.
  c.host.Limpa();
  EXPECT_EQ(MovimentosAutomatico(c, 1, dia1, dia1), ui::IDOK) << testing::PrintToString(c.host.Caixas());
  EXPECT_EQ(CenarioArquivos::Arquivos(c.PastaArquivos()).size(), 1u);
}

// Typed by the operator: the box, the focus back on the ECF edit, the
// dialog still open (the script's end cancels it), no file.
TEST(FiltrosRecusados, ECFDigitadoDeOutraFilialNoSintegraENosMovimentos) {
  CenarioArquivos c(CenarioArquivos::Cadastro::PAF);
  for (const char* ecf : {"3", "9", "X"}) {
    c.host.Limpa();
    EXPECT_EQ(c.Executa<CQMXSintegra>("dialogo 14028\ndigita 13039 1\ndigita 13040 " + std::string(ecf) +
                                      "\ndigita 13041 02/06/2026\ndigita 13042 03/06/2026\nclica 1\n"),
              ui::IDCANCEL) << ecf;
    ASSERT_EQ(c.host.Caixas().size(), 1u) << ecf;
    const std::string esperado = std::string(ecf) == "X" ? kECFIlegivel : ECFDeOutraFilial(ecf);
    EXPECT_EQ(TextoETitulo(c.host, 0), std::tuple(esperado, CQMXSintegra::kTitulo));
    EXPECT_TRUE(c.NadaEnviado());

    c.host.Limpa();
    c.host.CarregaRoteiro("dialogo 14017\ndigita 14016 1\ndigita 14018 " + std::string(ecf) +
                          "\ndigita 14019 02/06/2026\ndigita 14020 03/06/2026\nclica 1\n");
    EXPECT_EQ(LancaDialogo<CQMXMovimentos>([&](CQMXMovimentos& d, const TriploConexao&) {
                return d.Inicializa(c.empresa.Chave(), 1, 0, 0, 0, 0, 0, 0);
              }),
              ui::IDCANCEL) << ecf;
    EXPECT_EQ(TextosCaixas(c.host), std::vector<std::string>{esperado}) << ecf;
    EXPECT_TRUE(c.NadaEnviado());
  }
  // An empty ECF edit is every ECF of the branch in the Sintegra file; a
  // date the edit cannot read is refused.
  c.host.Limpa();
  EXPECT_EQ(c.Executa<CQMXSintegra>("dialogo 14028\ndigita 13039 1\ndigita 13041 99/99/2026\n"
                                    "digita 13042 03/06/2026\nclica 1\n"),
            ui::IDCANCEL);
  EXPECT_EQ(TextosCaixas(c.host), std::vector<std::string>{"Data Inicial inválida."});
  c.host.Limpa();
  EXPECT_EQ(c.Executa<CQMXSintegra>("dialogo 14028\ndigita 13039 1\ndigita 13041 02/06/2026\n"
                                    "digita 13042 03/06/2026\nclica 1\n"),
            ui::IDOK);
}

class SpedRecusado : public ::testing::Test {
 protected:
  SpedRecusado() {
    Contexto() = ContextoBiblioteca{};
    c.empresa.Filial(2, "Mercado Ávila Praia", "SP", "Comércio de Alimentos Ávila Ltda - Filial");
    c.empresa.Emissora(4, 2, "XX0910000000000000X4");
    QMX_Inicializa(c.empresa.Chave().c_str(), 1, 0);
  }
  ~SpedRecusado() override { Contexto() = ContextoBiblioteca{}; }
  bool Sped(std::uint16_t ecf, std::string* caminho = nullptr) {
    char* texto = nullptr;
    const bool resposta = QMX_SpedFiscal(&texto, 1, ecf, DiaDezesseisBits(CenarioFiscal::kDia1),
                                         DiaDezesseisBits(CenarioFiscal::kDia2)) != 0;
    if (caminho) *caminho = texto ? texto : "";
    delete[] texto;
    return resposta;
  }
  CenarioFiscal c;
};

// The extract asked for an ECF that is not the branch's answers false with
// the box; it never becomes the extract of all the branch's ECFs.
TEST_F(SpedRecusado, ECFDeOutraFilialNaoViraTodosOsECFs) {
  c.Movimento();
  for (std::uint16_t ecf : {std::uint16_t{4}, std::uint16_t{9}}) {
    c.host.Limpa();
    EXPECT_FALSE(Sped(ecf)) << ecf;
    ASSERT_FALSE(c.host.Caixas().empty()) << ecf;
    EXPECT_EQ(c.host.Caixas()[0].texto, ECFDeOutraFilial(std::to_string(ecf)));
    EXPECT_TRUE(CenarioArquivos::Arquivos(c.PastaLocal()).empty()) << ecf;
  }
  c.host.Limpa();
  EXPECT_TRUE(Sped(1));
  // All the ECFs of branch 1 (those with a reduction), none of branch 2's
  // even when it sold in the period.
  c.m.Cupom(4, CenarioFiscal::kDia1).Item(10, 1, 12.5);
  c.m.ReducaoZ(4, CenarioFiscal::kDia1);
  c.m.Grava();
  std::string caminho;
  ASSERT_TRUE(Sped(0, &caminho));
  const std::string extrato = PastaTemporaria::Le((c.PastaLocal() / "TorvoECF-SpedFiscal-112026.txt").string());
  ASSERT_FALSE(extrato.empty()) << caminho;
  EXPECT_EQ(extrato.find("XX0910000000000000X4"), std::string::npos);
  std::size_t c400 = 0;
  for (std::size_t p = 0; (p = extrato.find("|C400|", p)) != std::string::npos; ++p) ++c400;
  EXPECT_EQ(c400, 2u);
}

// A local folder that already ends in "/" takes the name right after it.
TEST_F(SpedRecusado, PastaLocalTerminadaEmBarra) {
  c.Movimento();
  c.empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva]\nLocalTorvo=" + c.PastaLocal().string() + "/\n");
  std::string caminho;
  EXPECT_TRUE(Sped(1, &caminho));
  EXPECT_EQ(caminho, c.PastaLocal().string() + "/TorvoECF-SpedFiscal-112026.txt");
  EXPECT_TRUE(fs::exists(c.PastaLocal() / "TorvoECF-SpedFiscal-112026.txt"));
}

}  // namespace
