// The Sintegra file of a branch, compared byte for byte with files checked
// by hand against the layouts, and its failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "apoio/Linhas.h"
#include "apoio/MovimentoTeste.h"
#include "arquivos/NomeArquivoEletronico.h"
#include "arquivos/sintegra/GeradorSintegra.h"
#include "arquivos/sintegra/QMXSintegra.h"
#include "plataforma/arquivos/GravacaoAtomica.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/ui/HostRoteirizado.h"

using namespace qmx;
using namespace qmx::testes;
namespace fs = std::filesystem;

namespace {

const NumeroDia kDia1 = CodificaDia(2, 11, 2026);
const NumeroDia kDia2 = CodificaDia(3, 11, 2026);

// The fiscal registration's company, its branch with an address, number,
// contact and legal name longer than registers 10 and 11 take.
class Sintegra : public ::testing::Test, protected CenarioArquivos {
 protected:
  Sintegra() : CenarioArquivos(Cadastro::Fiscal, MotorTeste::SQLite, false) {
    Copia(filial.Endereco, "Rua Direita da Sé, esquina com a Praça da Sé");
    Copia(filial.NumeroEndereco, "1234567");
    Copia(filial.Contato, "Conceição Aparecida dos Santos Silva");
    empresa.Gravador().GravaFilial(filial, "Comércio de Alimentos Ávila Ltda - Matriz de São Paulo");
  }

  // The movement of the golden file: every record family and its corners.
  void Movimento() {
    m.Produto(10, "ARROZ TIPO 1 5KG").Tributacao('T', 1800);
    m.Produto(20, "REFRIGERANTE COLA 2L").Tributacao('F', 0, "060").Unidade(2);
    m.Produto(30, "LEITE INTEGRAL").Tributacao('I', 0, "040").Ncm("");
    m.Produto(40, "JORNAL").Tributacao('N', 0, "041");
    auto& feijao = m.Produto(50, "FEIJÃO CARIOCA").Tributacao('T', 1200);
    feijao.registro.AliquotaIPI = 500;
    feijao.registro.ReducaoBase = 1000;
    feijao.registro.BaseST = Valor(1.23);
    m.Servico(60, "ENTREGA EM DOMICILIO", 500);
    m.Cliente(5, "ATACADO PAULISTA SA", 'J', "11.222.333/0001-81");
    Copia(m.Cliente(6, "IMPORTADORA DEL PLATA", 'J', "").Pais, "0639");
    m.Cliente(7, "JOSE DA SILVA", 'F', "123.456.789-09");
    m.Cliente(99, "DISTRIBUIDORA NORTE LTDA", 'J', "33.000.167/0001-01");
    m.Grava();
    auto& sessao = empresa.Gravador().Sessao();
    sessao.Executa("UPDATE cfrt SET inscricao_estadual = '110.042.490.999' WHERE codigo = 5", {});
    sessao.Executa("UPDATE cfrt SET estrangeiro = 1, uf = '' WHERE codigo = 6", {});
    // Longer than its field, and with a character Windows-1252 lacks.
    sessao.Executa("UPDATE produto SET descricao = ? WHERE codigo = 50",
                   {std::string("FEIJ\xC3\x83O CARIOCA 1KG COM UMA DESCRI\xC3\x87\xC3\x83O LONGA DEMAIS \xE2\x98\x95 CAF\xC3\x89")});

    m.Cupom(1, kDia1).Item(10, 2, 12.5, 1.0).Item(20, 1, 3.99).Servico(60, 1, 5);
    m.Cupom(1, kDia1).Item(30, 1, 4.5).Cancelado();
    m.Cupom(1, kDia1).Item(50, 1.5, 8.9).Item(10, 1, 12.5).Cancela();
    m.Cupom(2, kDia1).Item(40, 2, 1).Item(10, 1, 12.5);
    m.NotaConsumidor(1, kDia1, 100, 110).Item(10, 2, 12.5).Item(30, 1, 4.5);
    m.NotaConsumidor(1, kDia1, 111, 115).Item(10, 1, 12.5).Cancelado();
    m.NotaConsumidor(2, kDia2, 116, 120).Servico(60, 1, 10);
    // A cancelled pad of lower numbers entered last: the day's 61 still
    // runs from the lowest first number to the highest last one.
    m.NotaConsumidor(2, kDia1, 90, 99).Item(30, 1, 4.5).Cancelado();
    m.ReducaoZ(1, kDia1);
    m.ReducaoZ(2, kDia1);
    m.Cupom(1, kDia2).Item(10, 1, 12.5);
    m.ReducaoZ(1, kDia2);
    m.Cupom(3, kDia2).Item(10, 1, 1);  // an ECF without a Z reduction: not in the file

    auto& n1 = m.Nota(1, kDia2, 1).Participante(5).Item(10, 2, 100).Item(50, 1, 50).Servico(60, 1, 20);
    n1.itens[0].DescontoUnitario = 123456789;  // 1.23456789 a unit
    n1.itens[0].BaseST = Valor(9.99);
    n1.itens[0].IPI = Valor(1.11);
    n1.itens[2].AliquotaICMS = 500;  // a service's own rate is not ICMS: 0 in its 50
    m.Nota(2, kDia1, 4).Participante(6).Situacao(false, false, true).Item(10, 1, 10);
    m.Nota(3, kDia1, 2).Participante(7).Situacao(true).Item(40, 3, 3);
    m.Nota(4, kDia1, 1).Participante(5).CodigoTipo(12).Item(10, 1, 7);
    m.Nota(5, kDia1, 7).Participante(5).Item(20, 1, 2, 5405);
    m.Nota(6, kDia2, 1).Participante(7).Situacao(false, true).Item(30, 1, 1);
    m.Nota(7, kDia2, 3).Participante(99).Item(40, 1, 1);
    m.Grava();
    // The supplier of nota 7 leaves the register after it: the nota kept it.
    sessao.Executa("DELETE FROM cfrt WHERE codigo = 99", {});
  }

  int Executa(const std::string& roteiro) { return CenarioArquivos::Executa<CQMXSintegra>(roteiro); }
  static std::string Roteiro(const std::string& inicial, const std::string& final, const std::string& ecf = "") {
    return "dialogo 14028\ndigita 13039 1\n" + (ecf.empty() ? "" : "digita 13040 " + ecf + "\n") +
           "digita 13041 " + inicial + "\ndigita 13042 " + final + "\nseleciona 13044 2\nclica 1\n";
  }
  // The only file of the folder, without its EAD line, after checking the
  // name, the signature and the published layout.
  std::string Gerado() {
    const auto arquivos = Arquivos(PastaArquivos());
    EXPECT_EQ(arquivos.size(), 1u);
    if (arquivos.size() != 1) return {};
    const std::string nome = arquivos[0].filename().string();
    // The certification number, today's day number and the seconds of 10:00.
    EXPECT_EQ(nome.substr(0, 18), "ZTR0122026" + std::to_string(100000000 + CodificaDia(6, 12, 2026)).substr(1));
    EXPECT_EQ(nome.substr(18, 4), "0360");
    return CenarioArquivos::Gerado(nome);
  }
};

TEST_F(Sintegra, ArquivoCompletoIgualAoConferido) {
  Movimento();
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "03/11/2026")), ui::IDOK) << testing::PrintToString(host.Erros());
  ConfereGolden(Gerado(), "sintegra-completo.txt");
  // The nota whose participant left the register is written as it was
  // issued, with nothing to tell.
  ASSERT_EQ(host.Caixas().size(), 1u);
  EXPECT_EQ(host.Caixas()[0].texto.substr(0, 19), "Arquivo gerado em\r\n");
  EXPECT_EQ(std::tuple(host.Caixas()[0].titulo, host.Caixas()[0].flags),
            std::tuple("Torvo ECF - Arquivo Eletrônico Sintegra", ui::MB_OK | ui::MB_ICONINFORMATION));
  // The lists as they opened: the third and the first chosen, the nature
  // on the totality of the operations.
  const auto& inicio = host.Dialogos()[0].aposInicio;
  EXPECT_EQ(std::tuple(inicio.at(13043).selecao, inicio.at(13044).selecao, inicio.at(13045).selecao, inicio.at(13041).texto),
            std::tuple(2, 2, 0, "06/12/2026"));
}

// Two terminals generating in the same second: the second one's name skips
// the first one's while it is still being written (only its temporary
// exists), as it skips a file already there; a temporary left by a killed
// run (unlocked) holds no name.
TEST_F(Sintegra, NomeDeOutroTerminalEscrevendoFicaParaEle) {
  fs::create_directories(PastaArquivos());
  const std::string pasta = PastaArquivos().string() + "/";
  const std::string dia = std::to_string(100000000 + CodificaDia(6, 12, 2026)).substr(1);
  const auto nome = [&](const char* segundos) { return "ZTR0122026" + dia + segundos + ".txt"; };
  EXPECT_EQ(NomeArquivoEletronico(pasta), nome("036000"));
  {
    GravacaoAtomica::Temporario escrevendo;
    ASSERT_TRUE(escrevendo.Cria(pasta + nome("036000")));
    std::ofstream(pasta + nome("036001")) << "pronto";
    EXPECT_EQ(NomeArquivoEletronico(pasta), nome("036002"));
  }
  std::ofstream(pasta + "." + nome("036000") + GravacaoAtomica::kMarca + "abcdef") << "abandonado";
  EXPECT_EQ(NomeArquivoEletronico(pasta), nome("036000"));
}

TEST_F(Sintegra, UmECFSoEPeriodoSemMovimento) {
  Movimento();
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "02/11/2026", "2")), ui::IDOK);
  ConfereGolden(Gerado(), "sintegra-um-ecf.txt");
  fs::remove_all(PastaArquivos());
  host.Limpa();
  // No movement at all: 10, 11 and one 90 whose only pair is 99 with 3.
  ASSERT_EQ(Executa(Roteiro("01/10/2026", "31/10/2026")), ui::IDOK);
  const auto linhas = LinhasCRLF(Gerado());
  ASSERT_EQ(linhas.size(), 3u);
  EXPECT_EQ(linhas[2], "90" "12345678000195" "110042490114  " "99" "00000003" + std::string(80 + 5, ' ') + "1");
}

// An item whose record left the register, sold on a cupom that the
// branch's documents do not find (recorded under another branch), keeps in
// its 75 the description that cupom kept.
TEST_F(Sintegra, ItemSemCadastroNemDocumentoDaFilialTemADescricaoDoCupom) {
  m.Produto(10, "ARROZ TIPO 1 5KG").Tributacao('T', 1800);
  m.Produto(70, "AZEITE EXTRA VIRGEM 500ML").Tributacao('T', 1800);
  m.Cupom(1, kDia1).Item(10, 1, 12.5);
  m.Cupom(1, kDia1).Item(10, 1, 12.5).Item(70, 2, 30).registro.Filial = 9;
  m.ReducaoZ(1, kDia1);
  m.Grava();
  auto& sessao = empresa.Gravador().Sessao();
  sessao.Executa("DELETE FROM produto_filial WHERE produto = 70", {});
  sessao.Executa("DELETE FROM produto WHERE codigo = 70", {});
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "02/11/2026")), ui::IDOK) << testing::PrintToString(host.Erros());
  std::vector<std::string> descricoes;
  for (const auto& linha : LinhasCRLF(Gerado()))
    if (linha.rfind("75", 0) == 0) descricoes.push_back(linha.substr(40, 53));
  EXPECT_EQ(descricoes, (std::vector<std::string>{"ARROZ TIPO 1 5KG" + std::string(37, ' '),
                                                  "AZEITE EXTRA VIRGEM 500ML" + std::string(28, ' ')}));
}

// A failed step, after the dialog's start, either stops the generation
// (nothing left behind) or was a read whose failure leaves a record empty
// (the file is made): never a file without its box, never a box of success
// without a file.
TEST_F(Sintegra, FalhaDoServidorEmQualquerPassoNaoDeixaArquivo) {
  Movimento();
  int passos = 0, interrompidas = 0;
  FalhaCadaPasso<CQMXSintegra>(Roteiro("02/11/2026", "03/11/2026"), [&](int passo, int resultado) {
    ++passos;
    ASSERT_GE(host.Caixas().size(), 1u) << passo;
    const auto& caixa = host.Caixas().back();
    if (resultado == ui::IDOK) {
      EXPECT_EQ(caixa.texto.substr(0, 17), "Arquivo gerado em") << passo;
      EXPECT_EQ(Arquivos(PastaArquivos()).size(), 1u) << passo;
    } else {
      // Reported with the generator's name, or (a failed look-up of the
      // branch edit) refused before the generation began.
      interrompidas += caixa.texto.find("QMXSintegra") != std::string::npos;
      EXPECT_TRUE(NadaEnviado()) << passo;
    }
  });
  EXPECT_GT(passos, 10);
  EXPECT_GT(interrompidas, passos / 2);
}

// Branch 0 is refused; a folder that cannot be written is reported.
TEST_F(Sintegra, FilialZeroOuPastaQueNaoSePodeGravarNaoGeram) {
  Executa("dialogo 14028\ndigita 13039 0\nclica 1\n");
  ASSERT_GE(host.Caixas().size(), 1u);
  EXPECT_EQ(host.Caixas()[0].texto, "Selecione a filial.");  // message 280 of EC
  EXPECT_TRUE(NadaEnviado());
  host.Limpa();
  fs::create_directories(empresa.PastaEC());
  std::ofstream(PastaArquivos().string()) << "um arquivo no lugar da pasta";
  Executa(Roteiro("02/11/2026", "03/11/2026"));
  ASSERT_EQ(host.Caixas().size(), 1u);
  EXPECT_EQ(host.Caixas()[0].texto.substr(0, 33), "Não foi possível gravar o arquivo");
  EXPECT_TRUE(fs::is_regular_file(PastaArquivos()));
}

// Register 50 read back: number, CFOP and rate give the line's amounts
// (total, base, ICMS, exempt, other, in cents) and its situation.
struct Linha50 {
  std::string modelo;
  std::vector<std::int64_t> valores;
  char situacao;
};
std::map<std::string, Linha50> Registros50(const std::string& arquivo) {
  std::map<std::string, Linha50> r;
  for (const auto& l : LinhasCRLF(arquivo)) {
    if (l.substr(0, 2) != "50") continue;
    Linha50 linha{l.substr(40, 2), {}, l[125]};
    for (std::size_t campo = 56; campo < 121; campo += 13) linha.valores.push_back(std::stoll(l.substr(campo, 13)));
    r[l.substr(45, 6) + "/" + l.substr(51, 4) + "/" + l.substr(121, 4)] = linha;
  }
  return r;
}
int Conta(const std::string& arquivo, const std::string& tipo) {
  int n = 0;
  for (const auto& l : LinhasCRLF(arquivo)) n += l.compare(0, tipo.size(), tipo) == 0;
  return n;
}

// A nota's lines add up to the nota to the cent: each CFOP and rate has its
// own items' amounts and IPI (2.22, of the rice only), and what belongs to
// the nota as a whole, freight, insurance and other expenses less its
// discount (6.57), is shared by goods value (33.34, 10.01 and 7.07 of
// 50.42: 4.34, 1.30), the last group taking the remainder (0.93). What is no nota of
// the Convênio's models has neither 50 nor 54; a number that did not take
// place has one line without values and no items.
TEST_F(Sintegra, NotasComOsValoresDeCadaGrupo) {
  m.Produto(10, "ARROZ").Tributacao('T', 1800);
  m.Produto(50, "FEIJAO").Tributacao('T', 1200);
  m.Produto(20, "REFRIGERANTE").Tributacao('F', 0, "060");
  m.Produto(30, "LEITE").Tributacao('I', 0, "040");
  m.Cliente(5, "ATACADO PAULISTA SA", 'J', "11.222.333/0001-81");
  auto& n = m.Nota(11, kDia1).Participante(5).Item(10, 3, 33.33).Item(50, 1, 10.01).Item(10, 1, 0.01)
                .Item(20, 7, 7.07, 5405);
  n.registro.Frete = Valor(10);
  n.registro.Seguro = Valor(3.33);
  n.registro.OutrasDespesas = Valor(1.01);
  n.registro.IPI = Valor(2.22);
  n.itens[0].IPI = Valor(2.22);
  n.registro.Desconto = Valor(7.77);
  n.registro.ValorTotal.int64 += Valor(8.79).int64;
  // Exempt goods with a discount larger than their share of additions.
  m.Nota(12, kDia1).Participante(5).Item(30, 1, 5).registro.Desconto = Valor(0.5);
  m.Nota(13, kDia1).Participante(5).Situacao(true);                       // cancelled, no items
  m.Nota(14, kDia1, 4).Participante(5).Situacao(false, false, true);      // denied NF-e
  m.Nota(15, kDia1, 4).Participante(5).Situacao(false, true).Item(10, 1, 1);  // voided NF-e
  m.Nota(16, kDia1, 1).Participante(5).Situacao(false, true);              // voided, not an NF-e
  m.Nota(17, kDia1, 7).Participante(5).Item(10, 1, 1);                     // no fiscal model
  m.Nota(18, kDia1, 2).Participante(5).Item(30, 2, 4);                     // nota avulsa
  // Kind 30 writes its values as zeros and has no 54; kind 31 does not.
  m.Nota(19, kDia1).Participante(5).CodigoTipo(30).Item(10, 1, 9);
  m.Nota(20, kDia1).Participante(5).CodigoTipo(31).Item(10, 1, 9);
  m.Grava();
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "02/11/2026")), ui::IDOK);
  const std::string gerado = Gerado();
  const auto r50 = Registros50(gerado);
  using V = std::vector<std::int64_t>;
  EXPECT_EQ(r50.at("000011/5102/1800").valores, (V{3990, 3334, 600, 0, 656}));
  EXPECT_EQ(r50.at("000011/5102/1200").valores, (V{1131, 1001, 120, 0, 130}));
  EXPECT_EQ(r50.at("000011/5405/0000").valores, (V{800, 0, 0, 0, 800}));
  std::int64_t total = 0;
  for (const auto& [chave, linha] : r50)
    if (chave.substr(0, 6) == "000011") total += linha.valores[0];
  EXPECT_EQ(total, 5042 + 879);
  EXPECT_EQ(r50.at("000012/5102/0000").valores, (V{450, 0, 0, 450, 0}));
  for (const auto& [nota, situacao] : {std::pair{"000013", 'S'}, {"000014", '2'}, {"000015", '4'}, {"000016", 'S'}})
    EXPECT_EQ(r50.at(nota + std::string("/5102/0000")).situacao, situacao) << nota;
  EXPECT_EQ(r50.at("000014/5102/0000").modelo, "55");
  for (const char* semValores : {"000013/5102/0000", "000014/5102/0000", "000015/5102/0000"})
    EXPECT_EQ(r50.at(semValores).valores, (V{0, 0, 0, 0, 0})) << semValores;
  EXPECT_EQ(r50.at("000018/5102/0000").modelo, "01");
  EXPECT_EQ(r50.at("000019/5102/0000").valores, (V{0, 0, 0, 0, 0}));
  EXPECT_EQ(r50.at("000020/5102/1800").valores, (V{900, 900, 162, 0, 0}));
  EXPECT_EQ(r50.size(), 11u);  // nothing of nota 17
  // 54: the four items of nota 11 and its freight (991), insurance (992)
  // and other expenses (999) in the expense field, under its first CFOP,
  // without CST nor code; one each of 12, 18 and 20; none of the rest.
  EXPECT_EQ(Conta(gerado, "54"), 10);
  std::map<std::string, int> itens54;
  std::vector<std::string> extras;
  for (const auto& l : LinhasCRLF(gerado)) {
    if (l.substr(0, 2) != "54") continue;
    ++itens54[l.substr(21, 6)];
    if (l.substr(34, 3) >= "991") extras.push_back(l.substr(21, 30) + "|" + l.substr(51, 75));
  }
  EXPECT_EQ(itens54, (std::map<std::string, int>{{"000011", 7}, {"000012", 1}, {"000018", 1}, {"000020", 1}}));
  const std::string zeros11(11, '0'), zeros12(12, '0');
  EXPECT_EQ(extras, (std::vector<std::string>{
                        "0000115102   991              |" + zeros11 + zeros12 + "000000001000" + zeros12 + zeros12 + zeros12 + "0000",
                        "0000115102   992              |" + zeros11 + zeros12 + "000000000333" + zeros12 + zeros12 + zeros12 + "0000",
                        "0000115102   999              |" + zeros11 + zeros12 + "000000000101" + zeros12 + zeros12 + zeros12 + "0000"}));
}

// A branch that issues only notas, without fax: its file has 50, 54 and
// 75, and the fax is zeros without the area code.
TEST_F(Sintegra, FilialSemECFESemFax) {
  empresa.Gravador().Sessao().Executa("UPDATE filial SET habilitada_ecf = 0, fax = '' WHERE numero = 1", {});
  m.Produto(10, "ARROZ").Tributacao('T', 1800);
  m.Cliente(5, "ATACADO PAULISTA SA", 'J', "11.222.333/0001-81");
  m.Nota(1, kDia1).Participante(5).Item(10, 1, 10);
  m.Grava();
  ASSERT_EQ(Executa(Roteiro("02/11/2026", "02/11/2026")), ui::IDOK) << testing::PrintToString(host.Caixas());
  const std::string gerado = Gerado();
  EXPECT_EQ(std::tuple(Conta(gerado, "50"), Conta(gerado, "54"), Conta(gerado, "75")), std::tuple(1, 1, 1));
  EXPECT_EQ(LinhasCRLF(gerado)[0].substr(97, 10), "0000000000");
}

TEST(RegistroSintegra90, DezTiposOcupamDuasLinhasComAContagemDeLinhas) {
  const REG_FILIALPS f{.Cnpj = "12.345.678/0001-95", .InscricaoEstadual = "110.042.490.114"};
  sintegra::Contadores contadores;
  for (std::uint16_t tipo = 50; tipo < 59; ++tipo) contadores.emplace_back(tipo, tipo * 1000u);
  const auto linhas = sintegra::Registros90(f, contadores);
  ASSERT_EQ(linhas.size(), 2u);
  std::string pares;
  for (std::uint16_t tipo = 50; tipo < 59; ++tipo) pares += std::to_string(tipo) + "000" + std::to_string(tipo) + "000";
  EXPECT_EQ(linhas[0], "90" "12345678000195" "110042490114  " + pares + "     2\r\n");
  // 2 + the counters (486 000) + two 90 lines.
  EXPECT_EQ(linhas[1], "90" "12345678000195" "110042490114  " "99" "00486004" + std::string(80, ' ') + "     2\r\n");
  contadores.pop_back();
  EXPECT_EQ(sintegra::Registros90(f, contadores).size(), 1u);  // eight types and 99 fit one line
}

}  // namespace
