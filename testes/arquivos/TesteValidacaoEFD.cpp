// The EFD files of other programs: a file the test writes for each layout
// version passes with nothing but information; each version's own
// registers and field counts (the facts the Guia's editions differ in) are
// told apart; each rule of the Guia that decides acceptance passes a right
// line and names a wrong one; an unknown version is one error and no more;
// the validation program's signature block and EFD-Contribuições are read
// for what they are.
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

// The check digit an NF-e key ends in (modulus 11, weights 2 to 9 from the
// right), so that the test's keys are real ones.
std::string ComDigito(const std::string& chave43) {
  int soma = 0, peso = 2;
  for (auto i = chave43.size(); i-- > 0;) {
    soma += (chave43[i] - '0') * peso;
    peso = peso == 9 ? 2 : peso + 1;
  }
  const int resto = soma % 11;
  return chave43 + static_cast<char>('0' + (resto < 2 ? 0 : 11 - resto));
}

// A whole EFD ICMS/IPI file of one layout version, as another program
// would write it: block 0 with a supplier, a unit and an item, an entry
// NF-e with its item and analytic line, an inventory, every block the
// version has (the facts the Guia's editions give: G from 004, K from 010,
// B from 013; C190's COD_OBS from 003, H005's MOT_INV from 006, H010's
// VL_ITEM_IR from 009, 0200's CEST from 011, C170's VL_ABAT_NT from 013),
// the openings, closings, 9900 and 9999 counted here.
class ArquivoEFD {
 public:
  ArquivoEFD(int versao, int ano, int mes = 1) : m_versao(versao) {
    char texto[16];
    std::snprintf(texto, sizeof texto, "%03d", versao);
    const std::string v = texto;
    std::snprintf(texto, sizeof texto, "%02d%04d", mes, ano);
    const std::string mesAno = texto;
    inicio = "01" + mesAno;
    fim = "28" + mesAno;
    chave = ComDigito("3526011122233300018155001000000123100000123");
    blocos['0'] = {"|0000|" + v + "|0|" + inicio + "|" + fim + "|EMPRESA TESTE LTDA|11222333000181||SP|110042490114|3550308|||A|1|",
                   "|0005|LOJA TESTE|01001000|RUA DIREITA|100||CENTRO|1132150001||loja@teste.com.br|",
                   "|0100|JOSE CONTADOR|12345678909|SP123456|||RUA B|10||CENTRO|1133334444||contador@teste.com.br|3550308|",
                   "|0150|F1|FORNECEDOR SA|1058|33000167000101|||3550308||RUA C|1||CENTRO|",
                   "|0190|UN|UNIDADE|",
                   "|0200|P1|PRODUTO UM|||UN|00|22030000||22||18,00|" + std::string(versao >= 11 ? "|" : "")};
    blocos['C'] = {"|C100|0|1|F1|55|00|1|123|" + chave + "|05" + mesAno + "|05" + mesAno +
                       "|100,00|0|0,00|0,00|100,00|9|0,00|0,00|0,00|100,00|18,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|",
                   "|C170|1|P1||10,00000|UN|100,00|0,00|0|000|1102||100,00|18,00|18,00|0,00|0,00|0,00|0|||0,00|0,00|0,00|"
                   "50|0,00|0,00|||0,00|50|0,00|0,00|||0,00||" + std::string(versao >= 13 ? "0,00|" : ""),
                   "|C190|000|1102|18,00|100,00|100,00|18,00|0,00|0,00|0,00|0,00|" + std::string(versao >= 3 ? "|" : "")};
    blocos['H'] = {"|H005|" + fim + "|100,00|" + std::string(versao >= 6 ? "01|" : ""),
                   "|H010|P1|UN|10,000|10,000000|100,00|0|||1.1.3.01|" + std::string(versao >= 9 ? "0,00|" : "")};
  }

  // The text of the file: each block opened (with or without data) and
  // closed with its count, then block 9.
  std::string Texto() const {
    std::string ordem = "0";
    if (m_versao >= 13) ordem += "B";
    ordem += "CDE";
    if (m_versao >= 4) ordem += "G";
    ordem += "H";
    if (m_versao >= 10) ordem += "K";
    ordem += "1";
    std::vector<std::string> linhas;
    for (char b : ordem) {
      const auto corpo = blocos.find(b);
      const bool dados = corpo != blocos.end() && !corpo->second.empty();
      std::vector<std::string> bloco;
      if (b == '0') {
        bloco.push_back(corpo->second.front());
        bloco.push_back("|0001|0|");
        bloco.insert(bloco.end(), corpo->second.begin() + 1, corpo->second.end());
      } else {
        bloco.push_back("|" + std::string(1, b) + "001|" + (dados ? "0" : "1") + "|");
        if (dados) bloco.insert(bloco.end(), corpo->second.begin(), corpo->second.end());
      }
      // 0000 counts as a line of block 0.
      const std::size_t conta = bloco.size() + 1;
      bloco.push_back("|" + std::string(1, b) + "990|" + std::to_string(conta) + "|");
      linhas.insert(linhas.end(), bloco.begin(), bloco.end());
    }
    std::map<std::string, int> porRegistro;
    for (const auto& l : linhas) ++porRegistro[l.substr(1, 4)];
    porRegistro["9001"] = porRegistro["9990"] = porRegistro["9999"] = 1;
    porRegistro["9900"] = static_cast<int>(porRegistro.size()) + 1;
    linhas.push_back("|9001|0|");
    for (const auto& [reg, n] : porRegistro) linhas.push_back("|9900|" + reg + "|" + std::to_string(n) + "|");
    const std::size_t bloco9 = 1 + (porRegistro.size()) + 2;
    linhas.push_back("|9990|" + std::to_string(bloco9) + "|");
    linhas.push_back("|9999|" + std::to_string(linhas.size() + 1) + "|");
    std::string texto;
    for (const auto& l : linhas) texto += l + "\r\n";
    return texto;
  }

  // The register lines of the file's body, by block letter.
  std::map<char, std::vector<std::string>> blocos;
  std::string inicio, fim, chave;

 private:
  int m_versao;
};

// The first year each version is for.
int AnoDaVersao(int versao) { return versao <= 5 ? 2007 + versao : 2006 + versao; }


bool Tem(const validacao::Validacao& v, const std::string& regra, Gravidade g = Gravidade::Erro) {
  for (const auto& r : v.regras)
    if (r.regra == regra && r.gravidade == g) return true;
  return false;
}

TEST(ValidacaoEFD, CadaVersaoDoLeiauteComOsSeusRegistros) {
  for (int versao = 1; versao <= 20; ++versao) {
    SCOPED_TRACE("COD_VER " + std::to_string(versao));
    // Version 006 is for the second half of 2012.
    const ArquivoEFD arquivo(versao, AnoDaVersao(versao), versao == 6 ? 7 : 1);
    const auto v = validacao::ValidaConteudo(arquivo.Texto());
    EXPECT_EQ(v.tipo, TipoArquivo::EFD);
    EXPECT_TRUE(v.Valido()) << testes::ResumoValidacao(v);
    EXPECT_EQ(v.Avisos(), 0u) << testes::ResumoValidacao(v);
    char texto[16];
    std::snprintf(texto, sizeof texto, "%03d", versao);
    EXPECT_EQ(v.versao, texto);
  }
}

// What one edition has and the one before or after does not.
TEST(ValidacaoEFD, OQueUmaVersaoNaoTem) {
  struct Caso {
    int versao;
    const char* descricao;
    std::function<void(ArquivoEFD&)> muda;
    const char* regra;
  };
  const auto troca = [](char bloco, std::size_t i, std::function<void(std::string&)> f) {
    return [=](ArquivoEFD& a) { f(a.blocos[bloco][i]); };
  };
  const Caso casos[] = {
      {12, "C170 com VL_ABAT_NT antes de 2019", troca('C', 1, [](std::string& l) { l += "0,00|"; }), "quantidade-de-campos"},
      {13, "C170 sem VL_ABAT_NT desde 2019", troca('C', 1, [](std::string& l) { l.resize(l.size() - 5); }),
       "quantidade-de-campos"},
      {10, "0200 com CEST antes de 2017", troca('0', 5, [](std::string& l) { l += "|"; }), "quantidade-de-campos"},
      {5, "H005 com MOT_INV no primeiro semestre de 2012", troca('H', 0, [](std::string& l) { l += "01|"; }),
       "quantidade-de-campos"},
      {12, "bloco B antes de 2019", [](ArquivoEFD& a) { a.blocos['C'].insert(a.blocos['C'].begin(), "|B001|1|"); },
       "registro-desconhecido"},
      {3, "bloco G antes de 2011", [](ArquivoEFD& a) { a.blocos['H'].insert(a.blocos['H'].begin(), "|G001|1|"); },
       "registro-desconhecido"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.descricao);
    ArquivoEFD a(c.versao, AnoDaVersao(c.versao));
    EXPECT_TRUE(validacao::ValidaConteudo(a.Texto()).Valido());
    c.muda(a);
    const auto v = validacao::ValidaConteudo(a.Texto());
    EXPECT_TRUE(Tem(v, c.regra)) << testes::ResumoValidacao(v);
  }
}

// An unknown version is one error, not a cascade; one newer than the
// tables, for a period after them, is read by the newest with a warning.
TEST(ValidacaoEFD, VersaoDesconhecidaEVersaoMaisNova) {
  for (const char* versao : {"000", "abc", "21", "099"}) {
    ArquivoEFD a(20, 2026);
    a.blocos['0'][0].replace(6, 3, versao);
    const auto v = validacao::ValidaConteudo(a.Texto());
    EXPECT_FALSE(v.Valido()) << versao;
    ASSERT_EQ(v.regras.size(), 1u) << versao << "\n" << testes::ResumoValidacao(v);
    EXPECT_EQ(v.regras[0].regra, "versao");
    EXPECT_EQ(v.regras[0].vezes, 1u);
  }
  ArquivoEFD nova(20, 2027);
  nova.blocos['0'][0].replace(6, 3, "021");
  const auto v = validacao::ValidaConteudo(nova.Texto());
  EXPECT_TRUE(v.Valido()) << testes::ResumoValidacao(v);
  EXPECT_TRUE(Tem(v, "versao-mais-nova", Gravidade::Aviso)) << testes::ResumoValidacao(v);
  // A version given for another period is the validation program's own
  // finding: a warning.
  ArquivoEFD fora(18, 2026);
  EXPECT_TRUE(Tem(validacao::ValidaConteudo(fora.Texto()), "versao-do-periodo", Gravidade::Aviso));
}

// The rules of the Guia that decide whether a file is accepted: each with
// a line that passes and one that breaks it.
TEST(ValidacaoEFD, RegrasDoGuiaPassamENomeiamALinha) {
  struct Caso {
    const char* descricao;
    std::function<void(ArquivoEFD&)> certo, errado;
    const char* regra;
  };
  const auto nada = [](ArquivoEFD&) {};
  const auto c100 = [](std::function<void(std::string&)> f) { return [=](ArquivoEFD& a) { f(a.blocos['C'][0]); }; };
  // Replaces field `n` (REG is 1) of the line.
  const auto campo = [](std::string& l, int n, const std::string& valor) {
    std::size_t inicio = 0;
    for (int i = 0; i < n; ++i) inicio = l.find('|', inicio) + 1;
    l.replace(inicio, l.find('|', inicio) - inicio, valor);
  };
  // An NFC-e of the store's own: an exit, no participant, its key.
  const auto nfce = [=](ArquivoEFD& a) {
    auto& l = a.blocos['C'][0];
    campo(l, 2, "1");
    campo(l, 3, "0");
    campo(l, 4, "");
    campo(l, 5, "65");
    campo(l, 9, ComDigito("3526011122233300018165001000000123100000123"));
    a.blocos['C'][1].replace(a.blocos['C'][1].find("|1102|"), 6, "|5102|");
    a.blocos['C'][2].replace(a.blocos['C'][2].find("|1102|"), 6, "|5102|");
  };
  const auto cancelada = [=](ArquivoEFD& a) {
    auto& l = a.blocos['C'][0];
    l = "|C100|0|1||55|02|1|123|" + a.chave + std::string(20, '|') + "|";
    a.blocos['C'].resize(1);
  };
  const Caso casos[] = {
      {"NFC-e sem participante e com a chave", nada, nfce, ""},
      {"NFC-e com participante", nada,
       [=](ArquivoEFD& a) {
         nfce(a);
         campo(a.blocos['C'][0], 4, "F1");
       },
       "nfce-participante"},
      {"NF-e sem chave", nada, c100([=](std::string& l) { campo(l, 9, ""); }), "chave-nfe"},
      {"chave com dígito errado", nada,
       c100([](std::string& l) { l[l.find("3526") + 43] = l[l.find("3526") + 43] == '9' ? '0' : l[l.find("3526") + 43] + 1; }),
       "chave-nfe"},
      {"chave de outro número", nada,
       c100([=](std::string& l) { campo(l, 9, ComDigito("3526011122233300018155001000000124100000123")); }), "chave-nfe"},
      {"chave em nota modelo 01", nada, c100([=](std::string& l) { campo(l, 5, "01"); }), "chave-nfe"},
      {"nota de entrada emitida antes do período", c100([=](std::string& l) { campo(l, 10, "20122025"); }),
       c100([=](std::string& l) { campo(l, 10, "01022026"); }), "data-fora-do-periodo"},
      {"CFOP de saída numa entrada", nada,
       [](ArquivoEFD& a) { a.blocos['C'][2].replace(a.blocos['C'][2].find("|1102|"), 6, "|5102|"); }, "cfop-operacao"},
      {"ICMS do C100 diferente dos C190", nada, c100([=](std::string& l) { campo(l, 22, "18,01"); }), "soma-c190"},
      {"COD_MUN de outro estado", nada,
       [=](ArquivoEFD& a) { campo(a.blocos['0'][0], 11, "3304557"); }, "municipio"},
      {"documento cancelado sem valores", cancelada,
       [=](ArquivoEFD& a) {
         cancelada(a);
         campo(a.blocos['C'][0], 10, "05012026");
       },
       "cancelado-com-valores"},
      {"documento cancelado com C190", nada,
       [=](ArquivoEFD& a) {
         const auto c190 = a.blocos['C'][2];
         cancelada(a);
         a.blocos['C'].push_back(c190);
       },
       "filho-de-cancelado"},
      {"C190 repetido", nada, [](ArquivoEFD& a) { a.blocos['C'].push_back(a.blocos['C'][2]); }, "repetido-no-pai"},
      {"C190 antes do C170", nada, [](ArquivoEFD& a) { std::swap(a.blocos['C'][1], a.blocos['C'][2]); }, "ordem"},
      {"0005 duas vezes", nada, [](ArquivoEFD& a) { a.blocos['0'].insert(a.blocos['0'].begin() + 1, a.blocos['0'][1]); },
       "ocorrencia"},
      {"item sem 0200", nada, [=](ArquivoEFD& a) { campo(a.blocos['C'][1], 3, "P2"); }, "referencia-0200"},
      {"unidade sem 0190", nada, [=](ArquivoEFD& a) { campo(a.blocos['H'][1], 3, "KG"); }, "referencia-0190"},
      {"participante sem 0150", nada, c100([=](std::string& l) { campo(l, 4, "F2"); }), "referencia-0150"},
      {"data 31/02", nada, c100([=](std::string& l) { campo(l, 11, "31022026"); }), "data"},
      {"COD_PART obrigatório numa NF-e", nada, c100([=](std::string& l) { campo(l, 4, ""); }), "campo-obrigatorio"},
      {"inventário que não soma os itens", nada, [=](ArquivoEFD& a) { campo(a.blocos['H'][0], 3, "100,01"); },
       "soma-h010"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.descricao);
    ArquivoEFD certo(20, 2026);
    c.certo(certo);
    const auto passa = validacao::ValidaConteudo(certo.Texto());
    EXPECT_TRUE(passa.Valido()) << testes::ResumoValidacao(passa);
    ArquivoEFD errado(20, 2026);
    c.errado(errado);
    const auto v = validacao::ValidaConteudo(errado.Texto());
    if (!*c.regra) {
      EXPECT_TRUE(v.Valido()) << testes::ResumoValidacao(v);
      continue;
    }
    EXPECT_TRUE(Tem(v, c.regra)) << testes::ResumoValidacao(v);
  }
}

// The values a CST carries in the ECF's summary (C490) and in an exit's
// item (C170): none for 30, 40, 41, 50, 60; some for the taxed ones; either
// for 51 and 90; a CSOSN is not read by the rule.
TEST(ValidacaoEFD, CstEValoresDoICMS) {
  struct Caso {
    const char* cst;
    const char* base;
    const char* aliquota;
    const char* icms;
    bool valido;
  } casos[] = {
      {"000", "100,00", "18,00", "18,00", true}, {"000", "0,00", "0,00", "0,00", false},
      {"040", "0,00", "0,00", "0,00", true},     {"040", "100,00", "18,00", "18,00", false},
      {"041", "0,00", "", "0,00", true},         {"060", "0,00", "0,00", "1,00", false},
      {"090", "0,00", "0,00", "0,00", true},     {"090", "10,00", "18,00", "1,80", true},
      {"500", "0,00", "0,00", "0,00", true},     {"030", "0,00", "0,00", "0,00", true},
      // A tax below a cent is zero: 0,08 at 7% (0,0056), not 0,15 at 7% (0,0105).
      {"200", "0,08", "7,00", "0,00", true},     {"200", "0,15", "7,00", "0,00", false},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.cst + std::string(" ") + c.base);
    ArquivoEFD a(20, 2026);
    const std::string dia = "05" + a.fim.substr(2);
    a.blocos['C'] = {"|C400|2D|MODELO ECF|BE0123456789|1|",
                     "|C405|" + dia + "|1|10|500|1000,00|100,00|",
                     "|C420|01T1800|100,00|01||",
                     "|C490|" + std::string(c.cst) + "|5102|" + c.aliquota + "|100,00|" + c.base + "|" + c.icms + "||"};
    const auto v = validacao::ValidaConteudo(a.Texto());
    EXPECT_EQ(v.Valido(), c.valido) << testes::ResumoValidacao(v);
    if (!c.valido) {
      EXPECT_TRUE(Tem(v, "cst-valores")) << testes::ResumoValidacao(v);
    }
  }
}

// Counts of blocks, of 9900 and of the file.
TEST(ValidacaoEFD, ContagensDosBlocosE9900) {
  const std::string texto = ArquivoEFD(20, 2026).Texto();
  const auto troca = [&](const std::string& de, const std::string& para) {
    std::string t = texto;
    t.replace(t.find(de), de.size(), para);
    return validacao::ValidaConteudo(t);
  };
  EXPECT_TRUE(Tem(troca("|C990|5|", "|C990|6|"), "encerramento"));
  EXPECT_TRUE(Tem(troca("|9900|C190|1|", "|9900|C190|2|"), "9900-contagem"));
  EXPECT_TRUE(Tem(troca("|9900|C190|1|\r\n", ""), "9900-ausente"));
  EXPECT_TRUE(Tem(troca("|9900|C190|1|", "|9900|C191|1|"), "9900-sobra"));
  EXPECT_TRUE(Tem(troca("|D001|1|", "|D001|0|"), "abertura"));
  const auto total = texto.rfind("|9999|");
  std::string mais = texto.substr(0, total) + "|9999|" + std::to_string(std::stoi(texto.substr(total + 6)) + 1) + "|\r\n";
  EXPECT_TRUE(Tem(validacao::ValidaConteudo(mais), "total"));
}

// What the validation program appends when an accountant signs the file:
// information, out of every count; anything else after 9999 an error.
TEST(ValidacaoEFD, AssinaturaDoProgramaValidadorDepoisDo9999) {
  const std::string texto = ArquivoEFD(19, 2025).Texto();
  std::string assinatura = "SBRCAAEPDR";
  for (int i = 0; i < 600; ++i) assinatura += static_cast<char>(i * 37 % 256);
  const auto v = validacao::ValidaConteudo(texto + assinatura);
  EXPECT_TRUE(v.Valido()) << testes::ResumoValidacao(v);
  EXPECT_TRUE(Tem(v, "assinatura-do-pva", Gravidade::Informacao));
  const std::size_t linhasAssinatura = 1 + static_cast<std::size_t>(std::count(assinatura.begin(), assinatura.end(), '\n'));
  EXPECT_EQ(v.linhasAssinatura, linhasAssinatura);
  EXPECT_EQ(v.linhas, static_cast<std::size_t>(std::count(texto.begin(), texto.end(), '\n')));
  EXPECT_TRUE(Tem(validacao::ValidaConteudo(texto + "|9999|1|\r\n"), "depois-do-9999"));
}

// EFD-Contribuições is told from EFD ICMS/IPI by its 0000 and checked by its
// own registers, blocks and counts; a file of another Ato COTEPE is named.
TEST(ValidacaoEFD, ContribuicoesEOutrosAtos) {
  const std::vector<std::string> corpo = {
      "|0000|006|0|||01012026|31012026|EMPRESA TESTE LTDA|11222333000181|SP|3550308||00|0|",
      "|0001|0|", "|0110|1|1|1||", "|0140||EMPRESA TESTE LTDA|11222333000181|SP|110042490114|3550308|||",
      "|0990|5|", "|A001|1|", "|A990|2|", "|C001|1|", "|C990|2|", "|D001|1|", "|D990|2|", "|F001|1|", "|F990|2|",
      "|M001|1|", "|M990|2|", "|1001|1|", "|1990|2|", "|9001|0|"};
  std::map<std::string, int> n;
  for (const auto& l : corpo) ++n[l.substr(1, 4)];
  n["9990"] = n["9999"] = 1;
  n["9900"] = static_cast<int>(n.size()) + 1;
  std::string texto;
  for (const auto& l : corpo) texto += l + "\r\n";
  for (const auto& [reg, q] : n) texto += "|9900|" + reg + "|" + std::to_string(q) + "|\r\n";
  texto += "|9990|" + std::to_string(n.size() + 3) + "|\r\n";
  texto += "|9999|" + std::to_string(corpo.size() + n.size() + 2) + "|\r\n";
  const auto v = validacao::ValidaConteudo(texto);
  EXPECT_EQ(v.tipo, TipoArquivo::EFDContribuicoes);
  EXPECT_TRUE(v.Valido()) << testes::ResumoValidacao(v);
  std::string errado = texto;
  errado.replace(errado.find("|F990|2|"), 8, "|F990|3|");
  EXPECT_TRUE(Tem(validacao::ValidaConteudo(errado), "encerramento"));
  std::string desconhecido = texto;
  desconhecido.replace(desconhecido.find("|A001|1|"), 8, "|H001|1|");
  EXPECT_TRUE(Tem(validacao::ValidaConteudo(desconhecido), "registro-desconhecido"));

  const auto ato = validacao::ValidaConteudo("E00ALGO DE OUTRO ATO\r\nE01\r\n");
  EXPECT_EQ(ato.tipo, TipoArquivo::AtoCotepe);
  EXPECT_TRUE(Tem(ato, "leiaute-nao-conferido", Gravidade::Informacao));
}

}  // namespace
