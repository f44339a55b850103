// The Sintegra file of another program: a file the test writes with every
// register type of the Convênio passes; each rule of the manual (orders,
// the 90 totals, a nota's 50 against its 54s, the codes of 75, the day of
// a 60M, the codes of each field) passes a right file and names a wrong
// one.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "apoio/ResumoValidacao.h"
#include "arquivos/ValidacaoArquivo.h"

using namespace qmx;
using validacao::Gravidade;
using validacao::TipoArquivo;

namespace {

// A field of the layout: digits with zeros on the left, or text with
// blanks on the right.
std::string N(long long valor, std::size_t largura) {
  std::string t = std::to_string(valor);
  return std::string(largura - t.size(), '0') + t;
}
std::string X(const std::string& texto, std::size_t largura) { return texto + std::string(largura - texto.size(), ' '); }
std::string B(std::size_t largura) { return std::string(largura, ' '); }

const std::string kCnpj = "11222333000181", kIe = "110042490114  ", kFornecedor = "33000167000101";

// A Sintegra file of November 2026 with one line of every register type
// the Convênio defines (and a state 88), the 90 counted here.
struct ArquivoSintegra {
  std::vector<std::string> linhas = {
      "10" + kCnpj + kIe + X("EMPRESA TESTE LTDA", 35) + X("SAO PAULO", 30) + "SP" + N(1132150002, 10) + "20261101" +
          "20261130" + "331",
      "11" + X("RUA DIREITA", 34) + N(100, 5) + X("", 22) + X("CENTRO", 15) + N(1001000, 8) + X("MARIA", 28) +
          N(1132150001, 12),
      // A nota of 100,00 with a freight of 10,00, its IPI form, its ST.
      "50" + kFornecedor + X("ISENTO", 14) + "20261103" + "SP" + "01" + X("1", 3) + N(1, 6) + "5102" + "P" +
          N(11000, 13) + N(10000, 13) + N(1800, 13) + N(0, 13) + N(1000, 13) + N(1800, 4) + "N",
      "51" + kFornecedor + X("ISENTO", 14) + "20261103" + "SP" + X("1", 3) + N(1, 6) + "5102" + N(11000, 13) +
          N(0, 13) + N(0, 13) + N(0, 13) + B(20) + "N",
      "53" + kFornecedor + X("ISENTO", 14) + "20261104" + "SP" + "01" + X("1", 3) + N(2, 6) + "5405" + "P" +
          N(0, 13) + N(0, 13) + N(0, 13) + "N" + " " + B(29),
      "54" + kFornecedor + "01" + X("1", 3) + N(1, 6) + "5102" + "000" + N(1, 3) + X("P1", 14) + N(10000, 11) +
          N(10000, 12) + N(0, 12) + N(10000, 12) + N(0, 12) + N(0, 12) + N(1800, 4),
      "54" + kFornecedor + "01" + X("1", 3) + N(1, 6) + "5102" + "   " + N(991, 3) + B(14) + N(0, 11) + N(0, 12) +
          N(1000, 12) + N(0, 12) + N(0, 12) + N(0, 12) + N(0, 4),
      "55" + kCnpj + kIe + "20261110" + "SP" + "RJ" + N(1, 3) + N(1234, 4) + X("GNRE1", 20) + N(500, 13) + "20261110" +
          "112026" + X("PROTOCOLO 1", 30),
      "56" + kFornecedor + "01" + X("1", 3) + N(1, 6) + "5102" + "000" + N(1, 3) + X("P1", 14) + "1" + kFornecedor +
          N(0, 4) + X("9BWZZZ377VT004251", 17) + B(39),
      "57" + kFornecedor + X("ISENTO", 14) + "01" + X("1", 3) + N(1, 6) + "5102" + "000" + N(1, 3) + X("P1", 14) +
          X("LOTE 7", 20) + B(41),
      "60M" + std::string("20261105") + X("BE0101", 20) + N(1, 3) + "2D" + N(10, 6) + N(20, 6) + N(5, 6) + N(1, 3) +
          N(5000, 16) + N(900000, 16) + B(37),
      "60A" + std::string("20261105") + X("BE0101", 20) + "1800" + N(5000, 12) + B(79),
      "60D" + std::string("20261105") + X("BE0101", 20) + X("P1", 14) + N(2000, 13) + N(5000, 16) + N(5000, 16) +
          "1800" + N(900, 13) + B(19),
      "60I" + std::string("20261105") + X("BE0101", 20) + "2D" + N(15, 6) + N(1, 3) + X("P1", 14) + N(2000, 13) +
          N(5000, 13) + N(5000, 12) + "1800" + N(900, 12) + B(16),
      "60R" + std::string("112026") + X("P1", 14) + N(2000, 13) + N(5000, 16) + N(5000, 16) + "1800" + B(54),
      "61" + B(14) + B(14) + "20261106" + "02" + X("U", 3) + B(2) + N(1, 6) + N(3, 6) + N(3000, 13) + N(3000, 13) +
          N(540, 12) + N(0, 13) + N(0, 13) + N(1800, 4) + B(1),
      "61R" + std::string("112026") + X("P2", 14) + N(3000, 13) + N(3000, 16) + N(3000, 16) + N(1800, 4) + B(54),
      "70" + kFornecedor + X("ISENTO", 14) + "20261107" + "SP" + "08" + "1" + B(2) + N(7, 6) + "1352" + N(2000, 13) +
          N(2000, 14) + N(240, 14) + N(0, 14) + N(0, 14) + "1" + "N",
      "71" + kFornecedor + X("ISENTO", 14) + "20261108" + "SP" + "08" + "1" + B(2) + N(8, 6) + "SP" + kCnpj + kIe +
          "20261103" + "01" + X("1", 3) + N(1, 6) + N(11000, 14) + B(12),
      "74" + std::string("20261130") + X("P1", 14) + N(5000, 13) + N(25000, 13) + "1" + N(0, 14) + B(14) + "SP" + B(45),
      "75" + std::string("20261101") + "20261130" + X("P1", 14) + X("22030000", 8) + X("CERVEJA", 53) + X("UN", 6) +
          N(0, 5) + N(1800, 4) + N(0, 5) + N(0, 13),
      "75" + std::string("20261101") + "20261130" + X("P2", 14) + X("19053100", 8) + X("BOLACHA", 53) + X("PCT", 6) +
          N(0, 5) + N(1800, 4) + N(0, 5) + N(0, 13),
      "75" + std::string("20261101") + "20261130" + X("S1", 14) + X("00000000", 8) + X("TELEFONIA", 53) +
          X("UN", 6) + N(0, 5) + N(0, 4) + N(0, 5) + N(0, 13),
      "76" + kFornecedor + X("ISENTO", 14) + "22" + X("1", 2) + B(2) + N(9, 10) + "5303" + "1" + "20261109" + "SP" +
          N(1000, 13) + N(1000, 13) + N(250, 12) + N(0, 12) + N(0, 12) + N(25, 2) + "N",
      "77" + kFornecedor + "22" + X("1", 2) + B(2) + N(9, 10) + "5303" + "1" + N(1, 3) + X("S1", 11) + N(1000, 13) +
          N(1000, 12) + N(0, 12) + N(1000, 12) + N(25, 2) + kCnpj + N(1, 10),
      "85" + N(12345678901, 11) + "20261110" + "1" + N(123456789012, 12) + "20261110" + X("CONHEC 1", 16) +
          "20261110" + "01" + N(63, 4) + N(0, 8) + "20261112" + N(1, 6) + "20261103" + "01" + N(1, 3) + B(19),
      "86" + N(123456789012, 12) + "20261110" + kFornecedor + X("ISENTO", 14) + "SP" + N(1, 6) + "20261103" + "01" +
          N(1, 3) + X("P1", 14) + N(10000, 11) + N(1000, 12) + N(10000, 12) + "0" + B(5),
      "88EAN" + std::string("13") + N(7891234567895, 14) + X("CERVEJA", 53) + X("UN", 6) + X("7891234567895", 14) +
          B(32),
      "88SP02" + B(120),
  };

  // The file with its 90, counted by two-digit type, 99 all lines.
  std::string Texto(const std::function<void(std::vector<std::string>&)>& muda90 = {}) const {
    std::map<std::string, int> porTipo;
    for (const auto& l : linhas)
      if (l.substr(0, 2) != "10" && l.substr(0, 2) != "11") ++porTipo[l.substr(0, 2)];
    std::vector<std::string> pares;
    for (const auto& [tipo, n] : porTipo) pares.push_back(tipo + N(n, 8));
    const std::size_t linhas90 = pares.size() / 9 + 1;
    pares.push_back("99" + N(static_cast<long long>(linhas.size() + linhas90), 8));
    std::vector<std::string> l90;
    for (std::size_t i = 0; i < pares.size(); i += 9) {
      std::string l = "90" + kCnpj + kIe;
      for (std::size_t j = i; j < pares.size() && j < i + 9; ++j) l += pares[j];
      l += B(125 - l.size()) + std::to_string(linhas90);
      l90.push_back(l);
    }
    if (muda90) muda90(l90);
    std::string texto;
    for (const auto& l : linhas) texto += l + "\r\n";
    for (const auto& l : l90) texto += l + "\r\n";
    return texto;
  }

  std::string& Linha(const std::string& inicio, int qual = 0) {
    for (auto& l : linhas)
      if (l.rfind(inicio, 0) == 0 && qual-- == 0) return l;
    throw std::logic_error("sem linha " + inicio);
  }
};


const validacao::ResumoRegra* Regra(const validacao::Validacao& v, const std::string& regra) {
  for (const auto& r : v.regras)
    if (r.regra == regra) return &r;
  return nullptr;
}

TEST(ValidacaoSintegra, TodosOsRegistrosDoConvenio) {
  const ArquivoSintegra arquivo;
  for (const auto& l : arquivo.linhas) ASSERT_EQ(l.size(), 126u) << l;
  const auto v = validacao::ValidaConteudo(arquivo.Texto());
  EXPECT_EQ(v.tipo, TipoArquivo::Sintegra);
  EXPECT_TRUE(v.Valido()) << testes::ResumoValidacao(v);
  EXPECT_EQ(v.Avisos(), 0u) << testes::ResumoValidacao(v);
  // The state 88 is named, its layout not held.
  ASSERT_TRUE(Regra(v, "88-estadual"));
  EXPECT_EQ(Regra(v, "88-estadual")->gravidade, Gravidade::Informacao);
  // Two 90 lines when ten types and 99 do not fit one.
  ArquivoSintegra mais;
  EXPECT_NE(mais.Texto().find("\r\n90"), mais.Texto().rfind("\r\n90"));
}

TEST(ValidacaoSintegra, RegrasDoManual) {
  struct Caso {
    const char* descricao;
    std::function<void(ArquivoSintegra&)> muda;
    std::function<void(std::vector<std::string>&)> muda90;
    const char* regra;
    Gravidade gravidade;
  };
  const auto poe = [](std::string& l, std::size_t posicao, const std::string& novo) { l.replace(posicao - 1, novo.size(), novo); };
  const auto linha = [=](const char* inicio, std::size_t posicao, std::string novo, int qual = 0) {
    return [=](ArquivoSintegra& a) { poe(a.Linha(inicio, qual), posicao, novo); };
  };
  const auto nada90 = std::function<void(std::vector<std::string>&)>{};
  const auto nada = [](ArquivoSintegra&) {};
  const Caso casos[] = {
      {"75 fora da ordem dos códigos", [](ArquivoSintegra& a) { std::swap(a.Linha("75", 0), a.Linha("75", 1)); }, nada90,
       "ordem", Gravidade::Erro},
      {"50 com 1.000,00 a mais no total", linha("50", 57, N(111000, 13)), nada90, "50-total", Gravidade::Erro},
      {"50 com menos que os 54 (um desconto no total)", linha("50", 57, N(10900, 13)), nada90, "50-total",
       Gravidade::Aviso},
      {"base do 54 diferente da do 50", linha("54", 87, N(9999, 12)), nada90, "54-soma", Gravidade::Erro},
      {"54 sem o 50 do documento", linha("54", 22, N(3, 6)), nada90, "54-sem-50", Gravidade::Erro},
      {"código do 74 sem 75", linha("74", 11, X("P9", 14)), nada90, "sem-75", Gravidade::Erro},
      {"código do 77 sem 75 (depois dos 75)", linha("77", 41, X("S9", 11)), nada90, "sem-75", Gravidade::Erro},
      {"código do 60I sem 75", linha("60I", 43, X("P9", 14)), nada90, "sem-75", Gravidade::Erro},
      {"75 repetido com períodos que se sobrepõem",
       [](ArquivoSintegra& a) {
         auto& p1 = a.Linha("75", 0);
         a.linhas.insert(a.linhas.begin() + (&p1 - a.linhas.data()) + 1, p1);
       },
       nada90, "75-repetido", Gravidade::Aviso},
      {"COO do 60I fora do dia", linha("60I", 34, N(21, 6)), nada90, "coo-fora-do-dia", Gravidade::Erro},
      {"60D de outro ECF que o 60M", linha("60D", 12, X("BE0102", 20)), nada90, "60-sem-60M", Gravidade::Erro},
      {"70 fora da ordem de data",
       [=](ArquivoSintegra& a) {
         auto& l70 = a.Linha("70");
         a.linhas.insert(a.linhas.begin() + (&l70 - a.linhas.data()) + 1, l70);
         poe(a.Linha("70", 1), 31, "20261102");
       },
       nada90, "ordem", Gravidade::Erro},
      {"emitente do 50 fora da tabela", linha("50", 56, "X"), nada90, "codigo", Gravidade::Erro},
      {"mercadoria em poder do informante com CNPJ", linha("74", 52, kFornecedor), nada90, "posse", Gravidade::Erro},
      {"data 31/11", linha("51", 31, "20261131"), nada90, "campo", Gravidade::Erro},
      {"data fora do período", linha("61", 31, "20261201"), nada90, "data-fora-do-periodo", Gravidade::Erro},
      {"tipos fora de ordem", [](ArquivoSintegra& a) { std::swap(a.Linha("55"), a.Linha("61R")); }, nada90, "ordem",
       Gravidade::Erro},
      {"90 totalizando o 10", nada, [](std::vector<std::string>& l) { l.back().replace(l.back().rfind("99"), 10, "10" + N(1, 8)); },
       "90-tipo-proibido", Gravidade::Erro},
      {"90 contando um 54 a mais", nada,
       [](std::vector<std::string>& l) { l[0].replace(l[0].find("54000000"), 10, "54" + N(3, 8)); }, "90-contagem",
       Gravidade::Erro},
      {"99 contando uma linha a mais", nada,
       [](std::vector<std::string>& l) {
         const auto p = l.back().rfind("99");
         l.back().replace(p + 2, 8, N(std::stoll(l.back().substr(p + 2, 8)) + 1, 8));
       },
       "90-total", Gravidade::Erro},
      {"posição 126 com o número errado de 90", nada, [](std::vector<std::string>& l) { l[0][125] = '7'; },
       "numero-de-90", Gravidade::Erro},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.descricao);
    ArquivoSintegra a;
    c.muda(a);
    const auto v = validacao::ValidaConteudo(a.Texto(c.muda90));
    const auto* r = Regra(v, c.regra);
    ASSERT_TRUE(r) << testes::ResumoValidacao(v);
    EXPECT_EQ(r->gravidade, c.gravidade) << testes::ResumoValidacao(v);
    EXPECT_EQ(v.Valido(), c.gravidade != Gravidade::Erro) << testes::ResumoValidacao(v);
  }
  // The same code again for another period is a product whose data changed.
  ArquivoSintegra outroPeriodo;
  auto& p1 = outroPeriodo.Linha("75", 0);
  std::string novo = p1;
  novo.replace(2, 16, "2026111520261130");
  p1.replace(10, 8, "20261114");
  outroPeriodo.linhas.insert(outroPeriodo.linhas.begin() + (&p1 - outroPeriodo.linhas.data()) + 1, novo);
  const auto v = validacao::ValidaConteudo(outroPeriodo.Texto());
  EXPECT_TRUE(v.Valido() && v.Avisos() == 0) << testes::ResumoValidacao(v);
}

}  // namespace
