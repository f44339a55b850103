// The Estoque file of a branch, compared byte for byte with files checked
// by hand against the layout; the partial stock's list and messages.
#include <gtest/gtest.h>

#include "apoio/MovimentoTeste.h"
#include "apoio/RelogioSimulado.h"
#include "arquivos/paf/GeradorEstoque.h"
#include "arquivos/paf/QMXEstoque.h"
#include "frame/RelogioBiblioteca.h"
#include "plataforma/texto/CaminhoArquivo.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

constexpr const char* kNome = "Estoque150626.txt";

class Estoque : public ::testing::Test, protected CenarioArquivos {
 protected:
  // Before ten in the morning: the stock time keeps its leading zero.
  Estoque() : CenarioArquivos(Cadastro::PAF) { empresa.AcrescentaRegistro(RelogioSimulado("15/06/2026", "09:05:07")); }
  // Positions before, on and after yesterday; today's cupons of both ECFs
  // of the branch with what must not count (cancelled items and cupons, a
  // consumer nota, a service of a product's code, yesterday's and the
  // other branch's cupons); codes whose text order differs from their
  // numbers; a quantity wider than its field.
  void Movimento() {
    m.Produto(10, "ARROZ TIPO 1 5KG");
    m.Produto(9, "FEIJÃO CARIOCA 1KG").Unidade(2, true);
    m.Produto(100, "AÇÚCAR REFINADO ESPECIAL PACOTE DE UM QUILOGRAMA COM ALÇA");
    m.Produto(11, "ÓLEO DE SOJA 900ML");
    m.Produto(12, "SAL REFINADO 1KG");
    m.Produto(2147483647, "ÚLTIMO CÓDIGO");
    m.Servico(10, "ENTREGA", 500);
    m.Posicao(10, Dia(13, 6), 5);
    m.Posicao(10, Dia(14, 6), 8);
    m.Posicao(10, Dia(15, 6), 100);
    m.Posicao(9, Dia(14, 6), 1.5);
    m.Posicao(11, Dia(1, 6), 10);
    m.Posicao(2147483647, Dia(14, 6), 1234567.891);
    m.Cupom(1, Dia(15, 6)).Item(9, 3, 5).Item(10, 1, 12.5).Servico(10, 2, 5);
    m.Cupom(2, Dia(15, 6)).Item(100, 2, 4).Item(11, 1, 7).Cancela().Item(10, 0.3456, 12.5);
    m.Cupom(1, Dia(15, 6)).Item(11, 2, 7).Cancelado();
    m.NotaConsumidor(1, Dia(15, 6), 100, 110).Item(11, 3, 7);
    m.Cupom(1, Dia(14, 6)).Item(10, 4, 12.5);
    m.Cupom(3, Dia(15, 6)).Item(10, 5, 12.5);
    m.Grava();
    MovimentoTeste filial2(empresa, 2);
    filial2.Produto(13, "SÓ NA FILIAL 2");
    filial2.Posicao(10, Dia(14, 6), 50);
    filial2.Grava();
  }
  std::string Arquivo() { return Gerado(kNome); }
  // The file with the time of E1 checked to be the clock's during the last
  // ExecutaNaHora and then written as 103015, the time of the golden files.
  std::string ArquivoNaHoraDoRelogio() {
    std::string texto = Arquivo();
    const std::int32_t hora = std::stoi(texto.substr(170, 6));
    EXPECT_TRUE(hora >= m_antes && hora <= m_depois) << hora;
    EXPECT_EQ(texto.substr(170, 3), "090") << texto.substr(170, 6);
    return texto.replace(170, 6, "103015");
  }
  int ExecutaNaHora(const std::string& roteiro) {
    m_antes = CQMXRelogio::PegaHHMMSS();
    const int resultado = Executa<CQMXEstoque>(roteiro);
    m_depois = CQMXRelogio::PegaHHMMSS();
    return resultado;
  }
  std::int32_t m_antes = 0, m_depois = 0;
};

TEST_F(Estoque, TodosOsProdutosDaFilial) {
  Movimento();
  ASSERT_EQ(ExecutaNaHora("dialogo 14023\nclica 1\n"), ui::IDOK)
      << testing::PrintToString(host.Erros()) << UltimaCaixa();
  ConfereGolden(ArquivoNaHoraDoRelogio(), "estoque-todos.txt");
  ASSERT_EQ(host.Caixas().size(), 1u);
  EXPECT_EQ(host.Caixas()[0].texto, "Arquivo gerado em\r\n" + CaminhoMostrado(kNome));
  EXPECT_EQ(host.Caixas()[0].titulo, "Torvo ECF - Arquivo Eletrônico Estoque");
  EXPECT_EQ(temporarios.Entradas(), 0);
  const auto& inicio = host.Dialogos()[0].aposInicio;
  EXPECT_EQ(inicio.at(13013).texto, "1");  // the only branch the operator may use
  EXPECT_EQ(inicio.at(13072).colunas, (std::vector<std::string>{"Código", "Descrição"}));
}

// Added, refused and removed products; only the listed ones are written,
// sorted by their codes' text.
TEST_F(Estoque, EstoqueParcial) {
  Movimento();
  ASSERT_EQ(ExecutaNaHora("dialogo 14023\n"
                          "digita 13070 9\nclica 13073\ndigita 13070 100\nclica 13073\n"
                          "digita 13070 9\nclica 13073\n"   // again
                          "digita 13070\nclica 13073\n"    // nothing typed
                          "digita 13070 999\nclica 13073\n" // no such product
                          "digita 13070 12\nclica 13073\ndigita 13070 11\nclica 13073\n"
                          "seleciona 13072 2 3\nclica 13075\nclica 1\n"),
            ui::IDOK)
      << testing::PrintToString(host.Erros()) << UltimaCaixa();
  const std::string texto = ArquivoNaHoraDoRelogio();
  const std::string todos = Golden("estoque-todos.txt");
  const auto linha = [&](int n) { return todos.substr(178 + static_cast<std::size_t>(n) * 98, 98); };
  EXPECT_EQ(texto, todos.substr(0, 178) + linha(1) + linha(5) +
                       "E9" "12345678000195" "110042490114  " "000002\r\n");
  ASSERT_EQ(host.Caixas().size(), 4u);
  EXPECT_EQ(std::tuple(host.Caixas()[0].texto, host.Caixas()[1].texto, host.Caixas()[2].texto),
            std::tuple("Produto já adicionado.", "Informe um produto para ser adicionado.",
                       "Informe um produto para ser adicionado."));
  EXPECT_EQ(host.Dialogos()[0].aoFechar.at(13072).linhas,
            (std::vector<std::vector<std::string>>{{"9", "FEIJÃO CARIOCA 1KG"},
                                                   {"100", "AÇÚCAR REFINADO ESPECIAL PACOTE DE UM QUILOGRAMA COM ALÇA"}}));
}

TEST_F(Estoque, ProdutoDaListaQueNaoExisteMais) {
  Movimento();
  const REG_FILIALPS filial{};
  const estoque::CabecalhoEstoque cabecalho{.filial = &filial, .data = Dia(15, 6)};
  CSaidaTemporaria saida;
  ASSERT_TRUE(saida.Cria());
  EXPECT_EQ(estoque::CGeradorEstoque({empresa.Chave(), 1, 0}).Escreve(1, cabecalho, {555, 9}, saida), 1);
  saida.Fecha();
  const std::string conteudo = PastaTemporaria::Le(texto::CaminhoNativo(saida.Caminho()));
  EXPECT_EQ(conteudo.substr(0, 2), "E2");  // no ECF: no E1
  EXPECT_NE(conteudo.find("-000001500\r\nE9"), std::string::npos);
}

TEST_F(Estoque, SemFilialOuSemECF) {
  Movimento();
  for (const char* filial : {"", "0", "7"}) {
    host.Limpa();
    EXPECT_EQ(Executa<CQMXEstoque>("dialogo 14023\ndigita 13013 " + std::string(filial) + "\nclica 1\n"), ui::IDCANCEL);
    EXPECT_EQ(TextosCaixas(host), std::vector<std::string>{"Informe uma filial para a geração do arquivo."}) << filial;
    EXPECT_NE(host.Dialogos()[0].aoFechar.at(13012).texto, "Todas as Filiais");  // 0 is no branch here
  }
  EXPECT_TRUE(NadaEnviado());

  // This computer's printer is none of the company's ECFs: no E1.
  host.Limpa();
  empresa.ImpressoraEmulada("XX0000000000000000X9");
  ASSERT_EQ(Executa<CQMXEstoque>("dialogo 14023\nclica 1\n"), ui::IDOK);
  ASSERT_EQ(host.Caixas().size(), 2u);
  EXPECT_EQ(host.Caixas()[0].texto, "Ocorreu um erro ao ler o cadastro de ECFs.");
  // Without E1 the file starts with an E2: no layout's file (a known case).
  const std::string todos = Golden("estoque-todos.txt");
  EXPECT_EQ(Gerado(kNome, "tipo-desconhecido"), todos.substr(178));
}

TEST_F(Estoque, FalhaDoServidorNaoDeixaArquivo) {
  Movimento();
  int reportadas = 0;
  FalhaCadaPasso<CQMXEstoque>("dialogo 14023\nclica 1\n", [&](int passo, int resultado) {
    if (resultado == ui::IDOK) {
      EXPECT_EQ(UltimaCaixa().rfind("Arquivo gerado em", 0), 0u) << passo;
      return;
    }
    EXPECT_TRUE(NadaEnviado()) << passo;
    reportadas += UltimaCaixa().find("QMXEstoque") != std::string::npos;
  });
  EXPECT_GE(reportadas, 4);  // positions, cupons, products, a unit
  EXPECT_EQ(temporarios.Entradas(), 0);
}

}  // namespace
