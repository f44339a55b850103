// The Venda do Período file in the digital-bookkeeping layout, compared
// byte for byte with files checked by hand against the layout and checked
// against its own counts; the Sintegra choice; and what happens when a
// server fails at any step.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "apoio/MovimentoTeste.h"
#include "apoio/Linhas.h"
#include "apoio/VerificaEAD.h"
#include "arquivos/efd/QMXVendaPeriodo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/dados/ResultadosDados.h"

#include <functional>

using namespace qmx;
using namespace qmx::testes;
namespace fs = std::filesystem;

namespace {

using C = CenarioFiscal;

class VendaPeriodo : public ::testing::Test {
 protected:
  int Executa(const std::string& roteiro) { return c.Executa<CQMXVendaPeriodo>(roteiro); }
  // The operator's answers: branch 1, the period, the layout and profile.
  static std::string Roteiro(const std::string& inicial, const std::string& final, const char* escolhas) {
    return "dialogo 14030\ndigita 13055 1\ndigita 13053 " + inicial + "\ndigita 13054 " + final + "\n" + escolhas +
           "clica 1\n";
  }
  static constexpr const char* kCotepeA = "clica 13066\n";
  static constexpr const char* kCotepeB = "clica 13066\nclica 13092\n";

  // The only file made, without its EAD line, after checking its name and
  // signature.
  std::string Gerado() {
    const auto arquivos = C::Arquivos(c.PastaArquivos());
    EXPECT_EQ(arquivos.size(), 1u);
    if (arquivos.size() != 1) return {};
    // Certification number, today's day number (8 digits), the time in
    // seconds: 10:00 on the simulated clock, which goes on with the real one,
    // so a slow machine may be a few seconds past it.
    const std::string nome = arquivos[0].filename().string();
    const std::string prefixo = "ZTR0122026" + std::to_string(100000000 + CodificaDia(6, 12, 2026)).substr(1);
    EXPECT_EQ(nome.substr(0, prefixo.size()), prefixo);
    EXPECT_EQ(nome.size(), prefixo.size() + 10) << nome;
    const int segundos = std::atoi(nome.substr(prefixo.size(), 6).c_str());
    EXPECT_TRUE(segundos >= 36000 && segundos <= 36005) << nome;
    EXPECT_EQ(nome.substr(prefixo.size() + 6), ".txt");
    const std::string conteudo = C::Le(arquivos[0]);
    EXPECT_TRUE(AssinaturaConfereNaLinhaDeComando(conteudo));
    return conteudo.substr(0, conteudo.rfind("EAD"));
  }

  CenarioFiscal c;
};

TEST_F(VendaPeriodo, AtoCotepePerfilAIgualAoConferido) {
  c.Movimento();
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "05/11/2026", kCotepeA)), ui::IDOK)
      << testing::PrintToString(c.host.Erros());
  ConfereGolden(Gerado(), "venda-perfil-a.txt");
  // Nota 9's participant left the register after it: the nota is written
  // as it was issued (its 0150 from the nota), with nothing to tell.
  ASSERT_EQ(c.host.Caixas().size(), 1u);
  const std::string gerado = C::Arquivos(c.PastaArquivos())[0].filename().string();
  EXPECT_EQ(Caixa(c.host, 0), std::tuple("Arquivo gerado em\r\n" + c.CaminhoMostrado(gerado),
                                         "Torvo ECF - Arquivo Eletrônico Venda do Período",
                                         ui::MB_OK | ui::MB_ICONINFORMATION));
  // The extract's dialog ran preset and closed itself; nothing went to the local folder.
  ASSERT_EQ(c.host.Dialogos().size(), 2u);
  EXPECT_EQ(std::tuple(c.host.Dialogos()[0].idModelo, c.host.Dialogos()[0].resultado), std::tuple(14029, ui::IDOK));
  EXPECT_TRUE(C::Arquivos(c.PastaLocal()).empty());
}

TEST_F(VendaPeriodo, AtoCotepePerfilBIgualAoConferido) {
  c.Movimento();
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "05/11/2026", kCotepeB)), ui::IDOK);
  ConfereGolden(Gerado(), "venda-perfil-b.txt");
}

// A nota written before notas kept their participant, whose participant
// left the register before that: it is written all the same, with the
// participant's code alone, and the operator is told which.
TEST_F(VendaPeriodo, NotaSemParticipanteGuardadoEntraComOCodigo) {
  c.Movimento();
  c.empresa.Gravador().Sessao().Executa(
      "DELETE FROM nota_fiscal_participante WHERE nota = (SELECT id FROM nota_fiscal WHERE numero = 9)", {});
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "05/11/2026", kCotepeB)), ui::IDOK);
  const std::string gerado = Gerado();
  EXPECT_NE(gerado.find("|0150|99|PARTICIPANTE 99|1058|||||||0|||\r\n"), std::string::npos);
  EXPECT_NE(gerado.find("|C100|1|0|99|01|00|1|9||03112026|"), std::string::npos);
  ASSERT_EQ(c.host.Caixas().size(), 2u);
  EXPECT_EQ(c.host.Caixas()[0].texto,
            "Notas fiscais gravadas só com o código do participante, que já não estava cadastrado quando as notas "
            "passaram a guardá-lo: confira a sua identificação.\r\nNúmeros: 9");
}

// The registers changed after the documents: the beans (sold at the till
// and by nota) deleted by another program, the rice moved to a reduced
// base. The files write what the documents kept: the beans' 0200 as their
// last sale had them, the rice's items with the situation they were sold
// under. The data layer itself refuses to delete what a document of an
// open month names, and lets it go once that month is closed.
TEST_F(VendaPeriodo, RegistrosMudadosDepoisDosDocumentos) {
  c.Movimento();
  auto& sessao = c.empresa.Gravador().Sessao();
  dados::CGravadorCatalogo catalogo(sessao);
  for (const auto& [exclui, texto] :
       {std::pair<std::function<void()>, std::string>{[&] { catalogo.ExcluiProduto(50); },
                                                      "o produto 50 está em documentos de um período aberto (o "
                                                      "último de 05/11/2026, filial 1) e não pode ser excluído"},
        {[&] { catalogo.ExcluiCfrt(5); },
         "o participante 5 está em documentos de um período aberto (o último de 03/11/2026, filial 1) e não pode "
         "ser excluído"}}) {
    try {
      exclui();
      ADD_FAILURE() << texto;
    } catch (const dados::CErroDados& e) {
      EXPECT_EQ(e.Resultado(), dados::QMX_E_REGISTRO_EM_USO);
      EXPECT_EQ(e.what(), texto);
    }
  }
  // October closed: November stays open. November closed: it goes.
  sessao.Executa("UPDATE filial SET mes_bloqueado_contabil = ?", {CodificaMes(10, 2026)});
  EXPECT_THROW(catalogo.ExcluiProduto(50), dados::CErroDados);
  sessao.Executa("UPDATE filial SET mes_bloqueado_contabil = ?", {CodificaMes(11, 2026)});
  catalogo.ExcluiProduto(70);
  sessao.Executa("UPDATE filial SET mes_bloqueado_contabil = 0", {});

  sessao.Executa("DELETE FROM produto WHERE codigo = 50", {});
  sessao.Executa("UPDATE produto_filial SET situacao_tributaria = '020' WHERE produto = 10", {});
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "05/11/2026", kCotepeA)), ui::IDOK);
  const std::string gerado = Gerado();
  EXPECT_NE(gerado.find("|0200|P50|FEIJÃO CARIOCA|||UN|00|10063021||10||12,00|\r\n"), std::string::npos);
  EXPECT_EQ(gerado.find("|020|"), std::string::npos);
  EXPECT_NE(gerado.find("|C470|P10|0000000002,000|0000000000,000|UN|00000000024,00|000|5102|018,00|"),
            std::string::npos);
  ConfereLeiaute(gerado, nullptr);
}

TEST_F(VendaPeriodo, PeriodoSemDocumentosNemInventario) {
  ASSERT_EQ(Executa(Roteiro("01/10/2026", "31/10/2026", kCotepeA)), ui::IDOK);
  ConfereGolden(Gerado(), "venda-minimo.txt");
}

// The registers of block 0 where stores differ: an industrial branch
// (IND_ATIV 0), an accountant with an office CNPJ, a fax that does not exist,
// the registration and a participant's without punctuation.
TEST_F(VendaPeriodo, FilialIndustrialEContadorComCNPJ) {
  c.empresa.Gravador().Sessao().Executa(
      "UPDATE filial SET industrial = 1, contador_cnpj = '11.222.333/0001-81', fax = '', contador_fax = '3233-0000' "
      "WHERE numero = 1", {});
  ASSERT_EQ(Executa(Roteiro("01/10/2026", "31/10/2026", kCotepeA)), ui::IDOK);
  const auto linhas = LinhasCRLF(Gerado());
  ASSERT_GE(linhas.size(), 4u);
  EXPECT_EQ(linhas[0].substr(linhas[0].size() - 5), "|A|0|") << linhas[0];
  EXPECT_NE(linhas[0].find("|SP|110042490114|"), std::string::npos) << linhas[0];
  EXPECT_NE(linhas[2].find("|S\xE9|1132150001||fiscal@"), std::string::npos) << linhas[2];
  EXPECT_NE(linhas[5].find("|SP-123456/O-7|11222333000181|13010100|"), std::string::npos) << linhas[5];
  EXPECT_NE(linhas[5].find("|1932334455|1932330000|"), std::string::npos) << linhas[5];
}

TEST_F(VendaPeriodo, Convenio5795AbreOSintegraPreparado) {
  c.Movimento();
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "03/11/2026", "")), ui::IDOK);
  ASSERT_EQ(c.host.Dialogos().size(), 2u);
  EXPECT_EQ(std::tuple(c.host.Dialogos()[0].idModelo, c.host.Dialogos()[0].resultado), std::tuple(14028, ui::IDOK));
  // The Sintegra dialog made its file.
  const std::string gerado = Gerado();
  ConfereLeiaute(gerado);
  const auto linhas = LinhasCRLF(gerado);
  ASSERT_FALSE(linhas.empty());
  EXPECT_EQ(linhas.front().substr(0, 2), "10");
  EXPECT_EQ(linhas.front().substr(107, 16), "2026110220261103");  // the period of this dialog
}

// A start before the system's is moved up to it; an end before the start
// goes back to today; no branch, no file.
TEST_F(VendaPeriodo, DatasForaDeOrdemESemFilialNaoGeram) {
  Executa("dialogo 14030\ndigita 13053 31/12/2023\ndigita 13054 01/01/2024\nclica 2\n");
  ASSERT_GE(c.host.Caixas().size(), 1u);
  EXPECT_EQ(c.host.Caixas()[0].texto, "Data Inicial inferior à data de inicio do sistema.");
  EXPECT_EQ(c.host.Dialogos().at(0).aoFechar.at(13053).texto, "01/01/2024");
  c.host.Limpa();
  Executa(Roteiro("03/11/2026", "02/11/2026", kCotepeA));
  ASSERT_GE(c.host.Caixas().size(), 1u);
  EXPECT_EQ(c.host.Caixas()[0].texto, "Data Final menor que data Inicial");
  EXPECT_EQ(c.host.Dialogos().back().aoFechar.at(13054).texto, "06/12/2026");
  fs::remove_all(c.PastaArquivos());
  c.host.Limpa();
  Executa("dialogo 14030\ndigita 13055 0\nclica 13066\nclica 1\n");
  ASSERT_GE(c.host.Caixas().size(), 1u);
  EXPECT_EQ(c.host.Caixas()[0].texto, "Selecione a filial.");
  EXPECT_TRUE(C::Arquivos(c.PastaArquivos()).empty());
}

// Every data-server step of a whole run fails once, in turn. The file is
// either whole and consistent with its own counts (what a failed writer
// lost is missing, reported), or not there at all: when the extract's
// dialog could not collect (it stays open and is cancelled) or an item of
// 0200 could not be read.
TEST_F(VendaPeriodo, FalhaEmQualquerPassoNuncaDeixaArquivoIncoerente) {
  c.Movimento();
  const std::string roteiro = Roteiro("02/11/2026", "05/11/2026", kCotepeB);
  const int passos = PassosDe([&] { Executa(roteiro); });
  const std::string inteiro = Gerado();
  ConfereLeiaute(inteiro);
  const auto linhasInteiro = LinhasCRLF(inteiro);
  const auto linhas0200 = std::count_if(linhasInteiro.begin(), linhasInteiro.end(),
                                        [](const std::string& l) { return l.rfind("|0200|", 0) == 0; });
  int extratoCancelado = 0, falhas0200 = 0, incompletos = 0;
  for (int passo = 1; passo <= passos; ++passo) {
    fs::remove_all(c.PastaArquivos());
    c.host.Limpa();
    dados::CFalhaDadosInjetada falha(passo, com::RPC_S_SERVER_UNAVAILABLE);
    const int resultado = Executa(roteiro);
    const auto arquivos = C::Arquivos(c.PastaArquivos());
    std::string fontes;
    for (const auto& caixa : c.host.Caixas()) fontes += caixa.texto;
    if (resultado == ui::IDOK) {
      ASSERT_EQ(arquivos.size(), 1u) << passo;
      const std::string conteudo = C::Le(arquivos[0]);
      EXPECT_TRUE(AssinaturaConfereNaLinhaDeComando(conteudo)) << passo;
      // A failed read leaves its record empty; the counts still hold.
      ConfereContagensEFD(conteudo.substr(0, conteudo.rfind("EAD")));
      incompletos += fontes.find("QMXVendaPeriodo") != std::string::npos ||
                     fontes.find("QMXRegistrosEFD") != std::string::npos;
      continue;
    }
    EXPECT_TRUE(arquivos.empty()) << passo;
    const bool efdCancelado = c.host.Dialogos().size() >= 2 && c.host.Dialogos()[0].idModelo == 14029 &&
                              c.host.Dialogos()[0].resultado == ui::IDCANCEL;
    extratoCancelado += efdCancelado;
    falhas0200 += !efdCancelado && fontes.find("QMXVendaPeriodo") != std::string::npos;
  }
  EXPECT_GT(extratoCancelado, 0);
  // One step per product and service read again for 0200.
  EXPECT_EQ(falhas0200, linhas0200);
  EXPECT_GT(incompletos, 10);
}

}  // namespace
