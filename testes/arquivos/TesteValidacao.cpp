// The published layouts' checks: every golden file of the suite passes
// them, and one corrupted line of each kind of file fails them, naming the
// line and the rule broken.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "apoio/Linhas.h"
#include "apoio/MovimentoTeste.h"
#include "apoio/PastaTemporaria.h"
#if defined(QMX_PROGRAMA) && !defined(_WIN32)
#include "apoio/ProgramaQmx.h"
#endif
#include "arquivos/ValidacaoArquivo.h"
#include "fisco/AssinaturaEAD.h"
#include "plataforma/cripto/Cripto.h"

using namespace qmx;
using namespace qmx::testes;
using validacao::Gravidade;
using validacao::TipoArquivo;

namespace {

// The golden files of every kind the library writes, without their EAD.
// The DAVs' fixture sells an item of a tax code no table has ("X"), which
// the file writes as it is: that line's indicator is the one known case.
const struct {
  const char* golden;
  TipoArquivo tipo;
  const char* regraConhecida = nullptr;
} kGoldens[] = {
    {"sintegra-completo.txt", TipoArquivo::Sintegra}, {"sintegra-um-ecf.txt", TipoArquivo::Sintegra},
    {"efd-perfil-a.txt", TipoArquivo::EFD},           {"efd-perfil-b.txt", TipoArquivo::EFD},
    {"venda-perfil-a.txt", TipoArquivo::EFD},         {"venda-perfil-b.txt", TipoArquivo::EFD},
    {"venda-minimo.txt", TipoArquivo::EFD},           {"movimentos.txt", TipoArquivo::Movimentos},
    {"davs-periodo.txt", TipoArquivo::DAVs, "indicador"},          {"tabela-produtos.txt", TipoArquivo::TabelaProdutos},
    {"estoque-todos.txt", TipoArquivo::Estoque},      {"mfd-ato-cotepe.txt", TipoArquivo::MFD},
};

std::string Problemas(const validacao::Validacao& v) {
  std::string s;
  for (const auto& p : v.problemas)
    s += std::to_string(p.linha) + " " + p.registro + " [" + p.regra + "] " + p.mensagem + "\n";
  return s;
}

TEST(Validacao, ArquivosConferidosPassam) {
  for (const auto& g : kGoldens) {
    const auto v = validacao::ValidaConteudo(Golden(g.golden));
    EXPECT_EQ(v.tipo, g.tipo) << g.golden;
    int erros = 0, conhecidos = 0;
    for (const auto& p : v.problemas) {
      if (p.gravidade != Gravidade::Erro || CasoConhecidoDoCenario(p)) continue;
      ++erros;
      conhecidos += g.regraConhecida && p.regra == g.regraConhecida;
    }
    EXPECT_EQ(erros, conhecidos) << g.golden << "\n" << Problemas(v);
    if (g.regraConhecida) {
      EXPECT_EQ(conhecidos, 1) << g.golden;
    }
    EXPECT_GT(v.linhas, 1u) << g.golden;
  }
}

// The text with its line `n` (1-based, CR LF kept) changed.
std::string MudaLinha(const std::string& texto, std::size_t n, const std::function<void(std::string&)>& muda) {
  std::vector<std::string> linhas = LinhasCRLF(texto);
  muda(linhas.at(n - 1));
  std::string r;
  for (const auto& l : linhas) r += l + "\r\n";
  return r;
}
// The number of the first line that starts with `inicio`.
std::size_t LinhaQueComeca(const std::string& texto, const std::string& inicio, std::size_t depois = 0) {
  const auto linhas = LinhasCRLF(texto);
  for (std::size_t i = depois; i < linhas.size(); ++i)
    if (linhas[i].rfind(inicio, 0) == 0) return i + 1;
  return 0;
}

// One line corrupted in each kind of file: the rule that catches it, at
// that line.
TEST(Validacao, UmaLinhaCorrompidaENomeadaComSuaRegra) {
  struct Caso {
    const char* golden;
    const char* descricao;
    std::function<std::string(const std::string&, std::size_t&)> corrompe;  // sets the line expected
    const char* regra;
  };
  const auto troca = [](const char* inicio, std::size_t posicao, const char* novo) {
    return [=](const std::string& t, std::size_t& linha) {
      linha = LinhaQueComeca(t, inicio);
      return MudaLinha(t, linha, [&](std::string& l) { l.replace(posicao, std::string(novo).size(), novo); });
    };
  };
  const Caso casos[] = {
      {"sintegra-completo.txt", "um caractere a menos", [](const std::string& t, std::size_t& linha) {
         linha = LinhaQueComeca(t, "50");
         return MudaLinha(t, linha, [](std::string& l) { l.pop_back(); });
       }, "largura"},
      {"sintegra-completo.txt", "data inexistente no 50", troca("50", 30, "20261131"), "campo"},
      {"sintegra-completo.txt", "CNPJ do informante errado", troca("10", 15, "6"), "cnpj"},
      {"sintegra-completo.txt", "50 de uma nota só de mercadorias com 1.000,00 a mais",
       [](const std::string& t, std::size_t& linha) {
         linha = LinhaQueComeca(t, "5033000167000101");
         return MudaLinha(t, linha, [](std::string& l) {
           l.replace(56, 13, std::string(13 - std::to_string(std::stoll(l.substr(56, 13)) + 100000).size(), '0') +
                                 std::to_string(std::stoll(l.substr(56, 13)) + 100000));
         });
       }, "50-total"},
      {"sintegra-completo.txt", "base do 54 diferente da do 50", [](const std::string& t, std::size_t& linha) {
         linha = LinhaQueComeca(t, "5411222333000181");
         return MudaLinha(t, linha, [](std::string& l) { l.replace(86, 12, "000000000001"); });
       }, "54-soma"},
      {"sintegra-completo.txt", "90 contando um 54 a mais", [](const std::string& t, std::size_t& linha) {
         linha = LinhaQueComeca(t, "90");
         return MudaLinha(t, linha, [](std::string& l) {
           const auto p = l.find("54", 30);
           l.replace(p + 2, 8, std::string(8 - std::to_string(std::stoi(l.substr(p + 2, 8)) + 1).size(), '0') +
                                   std::to_string(std::stoi(l.substr(p + 2, 8)) + 1));
         });
       }, "90-contagem"},
      {"sintegra-completo.txt", "75 fora da ordem dos códigos", [](const std::string& t, std::size_t& linha) {
         const std::size_t p20 = LinhaQueComeca(t, "752026110220261103P20");
         linha = p20;
         const std::string p10 = LinhasCRLF(t)[p20 - 2];
         return MudaLinha(MudaLinha(t, p20 - 1, [&](std::string& l) { l = LinhasCRLF(t)[p20 - 1]; }), p20,
                          [&](std::string& l) { l = p10; });
       }, "ordem"},
      {"venda-perfil-b.txt", "CFOP com ponto", troca("|C190|", 10, ".10"), "campo-numerico"},
      {"venda-perfil-b.txt", "9999 com uma linha a mais", [](const std::string& t, std::size_t& linha) {
         linha = LinhaQueComeca(t, "|9999|");
         return MudaLinha(t, linha, [](std::string& l) { l = "|9999|" + std::to_string(std::stoi(l.substr(6)) + 1) + "|"; });
       }, "total"},
      {"venda-perfil-b.txt", "participante sem 0150", [](const std::string& t, std::size_t& linha) {
         std::string sem = t;
         const std::size_t i = sem.find("|0150|5|");
         sem.erase(i, sem.find("\r\n", i) + 2 - i);
         linha = LinhaQueComeca(sem, "|C100|1|0|5|");
         return sem;
       }, "referencia-0150"},
      {"venda-perfil-b.txt", "ICMS do C190 diferente do C100", [](const std::string& t, std::size_t& linha) {
         const std::size_t c190 = LinhaQueComeca(t, "|C190|000|5102|18,00|113,25|");
         linha = c190;
         while (LinhasCRLF(t)[linha - 1].rfind("|C100|", 0) != 0) --linha;
         return MudaLinha(t, c190, [](std::string& l) { l.replace(l.find("|18,00|9,99|"), 7, "|18,01|"); });
       }, "soma-c190"},
      {"efd-perfil-a.txt", "item sem 0200", troca("|C470|P10|", 7, "99"), "referencia-0200"},
      {"movimentos.txt", "R05 de 267 posições", [](const std::string& t, std::size_t& linha) {
         linha = LinhaQueComeca(t, "R05");
         return MudaLinha(t, linha, [](std::string& l) { l.erase(230, 1); });
       }, "largura"},
      {"davs-periodo.txt", "D9 contando um D2 a mais", [](const std::string& t, std::size_t& linha) {
         std::string r = t;
         const std::size_t i = r.find("D9");
         linha = static_cast<std::size_t>(std::count(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(i), '\n')) + 1;
         r.replace(i + 30, 6, "000099");
         return r;
       }, "trailer"},
      {"tabela-produtos.txt", "P2 sem o código", troca("P2", 16, "              "), "codigo-vazio"},
      {"estoque-todos.txt", "E9 contando um E2 a mais", troca("E9", 30, "000099"), "trailer"},
      {"mfd-ato-cotepe.txt", "item de um cupom que não há", troca("E15", 46, "999999"), "sem-cupom"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.descricao);
    std::size_t linha = 0;
    const std::string corrompido = c.corrompe(Golden(c.golden), linha);
    ASSERT_GT(linha, 0u) << c.descricao;
    const auto v = validacao::ValidaConteudo(corrompido);
    EXPECT_FALSE(v.Valido()) << c.descricao;
    bool achado = false;
    for (const auto& p : v.problemas) achado = achado || (p.regra == c.regra && p.linha == linha && p.gravidade == Gravidade::Erro);
    EXPECT_TRUE(achado) << c.golden << ": " << c.descricao << ", linha " << linha << "\n" << Problemas(v);
  }
}

#if defined(QMX_PROGRAMA) && !defined(_WIN32)
// The command: the verdict and its exit code, a line named, JSON for
// programs, and usage errors.
TEST(Validacao, ComandoDizOVereditoEOCodigoDeSaida) {
  PastaTemporaria pasta;
  const std::string bom = pasta.Grava("bom.txt", Golden("efd-perfil-b.txt"));
  std::string texto = Golden("tabela-produtos.txt");
  texto.replace(texto.find("P9") + 2, 14, "11111111111111");
  const std::string ruim = pasta.Grava("ruim.txt", texto);
  ConfereSaida(Qmx("validar '" + bom + "'"), 0, {"bom.txt: EFD ICMS/IPI vers\xC3\xA3o 004, 37 linhas: v\xC3\xA1lido\n"});
  ConfereSaida(Qmx("validar '" + bom + "' '" + ruim + "'"), 1,
               {"ruim.txt: Tabela de Produtos, 12 linhas: inv\xC3\xA1lido, 1 erro, 1 aviso\n"
                "  erro [trailer] registro P9: CNPJ e Inscri\xC3\xA7\xC3\xA3o Estadual diferentes dos do cabe\xC3\xA7\x61lho (linha 12)\n"});
  ConfereSaida(Qmx("validar --json '" + ruim + "'"), 1,
               {"\"valido\": false", "\"regra\": \"trailer\", \"registro\": \"P9\"", "\"vezes\": 1, \"linhas\": [12]"});
  EXPECT_EQ(Qmx("validar").codigo, 2);
}

// The EAD line of a PAF-ECF file: the library's checked; another
// developer's (or none) a warning unless --chave names the key to check it
// with; Sintegra and EFD files are not signed and nothing is said.
TEST(Validacao, AssinaturaDeQualquerDesenvolvedor) {
  PastaTemporaria pasta;
  const std::string nossa = pasta.Grava("nossa.txt", Golden("estoque-todos.txt"));
  ASSERT_TRUE(AssinaturaEAD::AssinaArquivo(nossa));
  const std::string semEAD = pasta.Grava("sem.txt", Golden("estoque-todos.txt"));
  const std::string sintegra = pasta.Grava("sintegra.txt", Golden("sintegra-um-ecf.txt"));
  // Another developer's key, and its signature of the same text: the
  // block of the digest raised to the private exponent, without padding.
  const std::string dir = pasta.Caminho("");
  const std::string texto = Golden("estoque-todos.txt");
  const auto digest = cripto::CalculaMD5(texto.data(), texto.size());
  std::string bloco(128, '\0');
  bloco[0] = 16;
  std::copy(digest->begin(), digest->end(), bloco.begin() + 1);
  pasta.Grava("bloco.bin", bloco);
  ASSERT_EQ(std::system(("cd '" + dir + "' && openssl genrsa -out outra.pem 1024 2>/dev/null && "
                         "openssl rsa -in outra.pem -pubout -out outra-publica.pem 2>/dev/null && "
                         "openssl rsautl -sign -raw -inkey outra.pem -in bloco.bin 2>/dev/null "
                         "-out assinatura.bin")
                            .c_str()),
            0);
  std::string ead = "EAD";
  for (unsigned char b : PastaTemporaria::Le(dir + "/assinatura.bin")) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", b);
    ead += hex;
  }
  const std::string outra = pasta.Grava("outra.txt", texto + ead + "\r\n");
  const std::string chaveOutra = dir + "/outra-publica.pem", chaveNossa = pasta.Grava("nossa.pem", Qmx("chave-publica").saida);

  ConfereSaida(Qmx("validar '" + nossa + "'"), 0, {"Estoque, 8 linhas: v\xC3\xA1lido, EAD v\xC3\xA1lida\n"});
  ConfereSaida(Qmx("validar '" + semEAD + "'"), 0, {"v\xC3\xA1lido, 1 aviso\n", "aviso [ead-ausente]"});
  ConfereSaida(Qmx("validar '" + outra + "'"), 0, {"v\xC3\xA1lido, 1 aviso\n", "aviso [ead-de-outra-chave]"});
  ConfereSaida(Qmx("validar --chave '" + chaveOutra + "' '" + outra + "'"), 0, {"v\xC3\xA1lido, EAD v\xC3\xA1lida\n"});
  ConfereSaida(Qmx("validar --chave '" + chaveNossa + "' '" + outra + "'"), 1, {"erro [ead] registro EAD"});
  ConfereSaida(Qmx("validar --chave '" + chaveOutra + "' '" + semEAD + "'"), 1, {"erro [ead]"});
  const auto s = Qmx("validar '" + sintegra + "'");
  ConfereSaida(s, 0, {"Sintegra, 26 linhas: v\xC3\xA1lido\n"});
  EXPECT_EQ(s.saida.find("EAD"), std::string::npos) << s.saida;
  EXPECT_EQ(Qmx("validar --chave '" + sintegra + "' '" + nossa + "'").codigo, 2);
}
#endif

}  // namespace
