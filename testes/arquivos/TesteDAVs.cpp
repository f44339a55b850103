// The DAVs of an ECF in a period: the gerencial report on the emulated
// printer and the file D1, D2, D3, D9, compared byte for byte with a file
// checked by hand against the layout.
#include <gtest/gtest.h>

#include "apoio/MovimentoTeste.h"
#include "arquivos/paf/QMXDAVs.h"
#include "plataforma/arquivos/ArquivoTemporario.h"
#include "plataforma/impressora/ImpressoraEmulada.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

class DAVs : public ::testing::Test, protected CenarioArquivos {
 protected:
  DAVs() : CenarioArquivos(Cadastro::PAF) {}
  // DAVs before, on and after the period's ends, of two ECFs; items of
  // every tax situation, a DAV without items, a product and a customer
  // that no longer exist, amounts that fill their fields.
  void Movimento() {
    m.Produto(10, "ARROZ TIPO 1 5KG");
    m.Produto(20, "FEIJÃO CARIOCA 1KG").Unidade(2);
    m.Cliente(5, "ATACADO PAULISTA SA", 'J', "11.222.333/0001-81");
    m.Cliente(7, "JOSÉ DA SILVA", 'F', "123.456.789-09");
    m.Dav(1001, 1, Dia(31, 5)).Item(10, 1, 10);
    auto& d1 = m.Dav(1002, 1, Dia(1, 6)).Cliente(5).Cupom(4711);
    d1.Item(10, 2.5, 12.34, 'T', 1800).Item(20, 1, 8.9, 'R', 1200).Item(10, 1, 12.34, 'F', 0);
    d1.itens[0].Acrescimo = Valor(0.15);
    d1.itens[0].ValorTotal = Valor(31.00);
    d1.itens[1].Desconto = Valor(0.9);
    d1.itens[1].ValorTotal = Valor(8.00);
    d1.itens[2].Cancelado = 1;
    m.Dav(1003, 1, Dia(10, 6));
    m.Dav(1004, 1, Dia(15, 6)).Cliente(7).Cupom(4800).Item(99, 1234.5678, 0.5, 'S', 500)
        .Item(20, 1, 123456.789, 'D', 0).Item(10, 3, 1, 'I', 0).Item(10, 1, 1, 'N', 0).Item(10, 1, 1, 'X', 0);
    m.Dav(1005, 1, Dia(16, 6)).Item(10, 1, 1);
    m.Dav(2001, 2, Dia(5, 6)).Item(10, 1, 1);
    // Its one item kept its number from before others were taken out: the
    // file numbers the items anew.
    m.Dav(1006, 1, Dia(12, 6)).Cliente(55).Item(10, 1, 2.5).itens[0].Item = 7;
    m.Grava();
  }
  static std::string Roteiro(const std::string& inicial, const std::string& final, bool arquivo) {
    return "dialogo 14009\ndigita 14010 1\ndigita 14014 " + inicial + "\ndigita 14015 " + final + "\n" +
           (arquivo ? "clica 13011\n" : "") + "clica 1\n";
  }
  // The fixture sells an item of a tax code no table has ("X"), which the
  // file writes as it is: that indicator is the known break of the layout.
  std::string Arquivo(const std::string& nome) { return Gerado(nome, "indicador"); }
};

TEST_F(DAVs, ArquivoDoPeriodoIgualAoConferido) {
  Movimento();
  ASSERT_EQ(Executa<CQMXDAVs>(Roteiro("01/06/2026", "15/06/2026", true)), ui::IDOK)
      << testing::PrintToString(host.Erros()) << UltimaCaixa();
  const std::string nome = "DAVs-BE0910000000000000B2-01062026-15062026.txt";
  ConfereGolden(Arquivo(nome), "davs-periodo.txt");
  ASSERT_EQ(host.Caixas().size(), 1u);
  EXPECT_EQ(TextoETitulo(host, 0),
            std::tuple("Arquivo gerado em " + CaminhoMostrado(nome), "Torvo ECF - Arquivo Eletrônico DAVs"));
  // The signed temporary file stays in the temporary folder, with its
  // mark, which nobody holds: a leftover that a cleaning counts.
  ASSERT_EQ(temporarios.Entradas(), 2);
  for (const auto& e : std::filesystem::directory_iterator(temporarios.Pasta()))
    if (e.path().filename().string()[0] != '.') EXPECT_EQ(Le(e.path()), Le(Enviado(nome)));
    else EXPECT_NE(e.path().filename().string().find(ArquivoTemporario::kMarca), std::string::npos);
  // Nothing was printed; the dialog opened on the report, from the start date to today.
  EXPECT_TRUE(impressora::RelatoriosImpressos().empty());
  const auto& inicio = host.Dialogos()[0].aposInicio;
  EXPECT_EQ(std::tuple(inicio.at(13010).marcado, inicio.at(13011).marcado, inicio.at(14014).texto, inicio.at(14015).texto),
            std::tuple(ui::BST_CHECKED, ui::BST_UNCHECKED, "01/01/2024", "15/06/2026"));
}

TEST_F(DAVs, RelatorioGerencialNaImpressora) {
  Movimento();
  ASSERT_EQ(Executa<CQMXDAVs>(Roteiro("01/06/2026", "15/06/2026", false)), ui::IDOK) << UltimaCaixa();
  const auto relatorios = impressora::RelatoriosImpressos();
  ASSERT_EQ(relatorios.size(), 1u);
  EXPECT_EQ(std::tuple(relatorios[0].titulo, relatorios[0].fechado), std::tuple("DAV EMITIDOS", true));
  EXPECT_EQ(relatorios[0].texto,
            "\n\r                DAV Emitidos\n\r\n\r"
            "\r\n DAVs emitidos no período de 01/06/2026 à 15/06/2026\r\n\r\n"
            "NUM.DAV  DT.EMISS  TITULO  VLR  COO CF  COO DAV\r\n"
            "000000000100201/06/26  Orc. 52,09   4711        2\r\n"
            "000000000100310/06/26  Orc. 0,00      0        3\r\n"
            "000000000100415/06/26  Orc. 124.079,07   4800        4\r\n"
            "000000000100612/06/26  Orc. 2,50      0        6\r\n");
  EXPECT_TRUE(host.Caixas().empty());
  EXPECT_TRUE(NadaEnviado());
}

TEST_F(DAVs, PeriodoSemDAV) {
  Movimento();
  // The report: only the message; the dialog stays open for another period.
  EXPECT_EQ(Executa<CQMXDAVs>(Roteiro("02/06/2026", "09/06/2026", false)), ui::IDCANCEL);
  ASSERT_EQ(host.Caixas().size(), 1u);
  EXPECT_EQ(TextoETitulo(host, 0), std::tuple("Não existem DAVs a serem impressos", "DAVs Emitidos"));
  EXPECT_TRUE(impressora::RelatoriosImpressos().empty());
  // The file: D1 and D9 with zero counts (the layout check confirms D9's counts).
  host.Limpa();
  ASSERT_EQ(Executa<CQMXDAVs>(Roteiro("02/06/2026", "09/06/2026", true)), ui::IDOK);
  Arquivo("DAVs-BE0910000000000000B2-02062026-09062026.txt");
}

// A till that records a DAV of the period (its head and its items in one
// transaction) at any moment of the generation: the file shows the
// database at one instant, with the DAV whole or without it, never its
// items without their head; once the reading began, without it.
TEST_F(DAVs, DAVGravadoDuranteAGeracaoEntraInteiroOuNaoEntra) {
  Movimento();
  const std::string roteiro = Roteiro("01/06/2026", "15/06/2026", true);
  const std::string nome = "DAVs-BE0910000000000000B2-01062026-15062026.txt";
  ASSERT_EQ(Executa<CQMXDAVs>(roteiro), ui::IDOK);
  const std::string esperado = Le(Enviado(nome));
  bool depoisDoInicio = false;
  EscritaEmCadaPasso<CQMXDAVs>(
      roteiro,
      [&] {
        m.Dav(1100, 1, Dia(12, 6)).Item(10, 2, 3.5).Item(20, 1, 8.9, 'R', 1200);
        m.Grava();
      },
      [&] {
        auto& sessao = empresa.Gravador().Sessao();
        sessao.Executa("DELETE FROM dav_item WHERE dav IN (SELECT id FROM dav WHERE numero = 1100)", {});
        sessao.Executa("DELETE FROM dav WHERE numero = 1100", {});
      },
      [&](int passo, int resultado) {
        ASSERT_EQ(resultado, ui::IDOK) << passo;
        const std::string texto = Arquivo(nome);  // checked against the layout
        int cabecalhos = 0, itens = 0;
        for (std::size_t i = 0; (i = texto.find('\n', i)) != std::string::npos; ++i) {
          cabecalhos += texto.compare(i + 1, 2, "D2") == 0 && texto.compare(i + 91, 4, "1100") == 0;
          itens += texto.compare(i + 1, 6, "D31100") == 0;
        }
        EXPECT_TRUE((cabecalhos == 0 && itens == 0) || (cabecalhos == 1 && itens == 2)) << passo << "\n" << texto;
        // The steps of the file's own reading come last: from the first of
        // them on, the file is the one without the DAV.
        if (Le(Enviado(nome)) == esperado) depoisDoInicio = true;
        else EXPECT_FALSE(depoisDoInicio) << passo;
      });
  EXPECT_TRUE(depoisDoInicio);
}

TEST_F(DAVs, FalhaDoServidorNaoDeixaArquivo) {
  Movimento();
  int reportadas = 0;
  FalhaCadaPasso<CQMXDAVs>(Roteiro("01/06/2026", "15/06/2026", true), [&](int passo, int resultado) {
    if (resultado == ui::IDOK) {
      EXPECT_EQ(UltimaCaixa().rfind("Arquivo gerado em ", 0), 0u) << passo;
      return;
    }
    EXPECT_TRUE(NadaEnviado()) << passo;
    reportadas += UltimaCaixa().find("QMXDAVs") != std::string::npos;
  });
  EXPECT_GE(reportadas, 4);  // the walks of D2 and D3, a customer, a product
}

}  // namespace
