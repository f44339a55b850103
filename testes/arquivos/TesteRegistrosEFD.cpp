// The SPED Fiscal extract of the ECFs, compared byte for byte with files
// checked by hand against the layout, its collect mode, its bad inputs and
// the rules under its amounts.
#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/MovimentoTeste.h"
#include "apoio/Linhas.h"
#include "arquivos/efd/ItensEFD.h"
#include "arquivos/efd/LinhaEFD.h"
#include "arquivos/efd/QMXRegistrosEFD.h"
#include "frame/ContextoBiblioteca.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "frame/LancaDialogo.h"
#include "frame/QMXFormatador.h"
#include "frame/QMXGenerica.h"
#include "frame/QMXUTIL.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/texto/CaminhoArquivo.h"

using namespace qmx;
using namespace qmx::testes;
namespace fs = std::filesystem;

namespace {

using C = CenarioFiscal;

class RegistrosEFD : public ::testing::Test {
 protected:
  RegistrosEFD() {
    Contexto() = ContextoBiblioteca{};
    QMX_Inicializa(c.empresa.Chave().c_str(), 1, 0);
  }
  ~RegistrosEFD() override { Contexto() = ContextoBiblioteca{}; }

  // The export; the path it handed back, empty when none.
  std::string Sped(std::uint16_t ecf, NumeroDia inicial, NumeroDia final, bool esperado = true) {
    char* caminho = nullptr;
    EXPECT_EQ(QMX_SpedFiscal(&caminho, 1, ecf, DiaDezesseisBits(inicial), DiaDezesseisBits(final)), esperado ? 1 : 0);
    const std::string texto = caminho ? caminho : "";
    delete[] caminho;
    return texto;
  }
  std::string Esperado() const { return c.PastaLocal().string() + "\\TorvoECF-SpedFiscal-112026.txt"; }
  std::string Extrato() const { return C::Le(texto::CaminhoNativo(Esperado())); }

  CenarioFiscal c;
};

TEST_F(RegistrosEFD, PerfilADeTodosOsECFsIgualAoConferido) {
  c.Movimento();
  const std::string caminho = Sped(0, C::kDia1, C::kDia4);
  EXPECT_EQ(caminho, Esperado());
  const std::string extrato = Extrato();
  ConfereGolden(extrato, "efd-perfil-a.txt");
  EXPECT_EQ(extrato.find("EAD"), std::string::npos);  // an extract, not a signed fiscal file
  // Handed to the company's folder too, as it is.
  EXPECT_EQ(C::Le(c.PastaArquivos() / "TorvoECF-SpedFiscal-112026.txt"), extrato);
  // All ECFs (0): the path is shown.
  ASSERT_EQ(c.host.Caixas().size(), 1u);
  EXPECT_EQ(Caixa(c.host, 0), std::tuple("Arquivo gerado em:\r\n" + Esperado(), "Torvo ECF - Sped Fiscal",
                                         ui::MB_OK | ui::MB_ICONINFORMATION));
}

TEST_F(RegistrosEFD, PerfilBDeUmECFPeloOperador) {
  c.Movimento();
  c.host.CarregaRoteiro("dialogo 14029\ndigita 13049 1\ndigita 13050 1\ndigita 13048 02/11/2026\n"
                        "digita 13067 05/11/2026\nclica 13069\nclica 1\n");
  const int resultado = LancaDialogo<CQMXRegistrosEFD>(
      [&](CQMXRegistrosEFD& d, const TriploConexao&) { return d.Inicializa(c.empresa.Chave(), 1, 0); });
  ASSERT_EQ(resultado, ui::IDOK) << testing::PrintToString(c.host.Erros());
  ConfereGolden(Extrato(), "efd-perfil-b.txt");
  EXPECT_TRUE(c.host.Caixas().empty());  // branch, ECF and dates all given: no box
  const auto& inicio = c.host.Dialogos()[0].aposInicio;
  EXPECT_EQ(std::tuple(inicio.at(13048).texto, inicio.at(13068).marcado, inicio.at(13069).marcado),
            std::tuple("06/12/2026", 1, 0));
}

TEST_F(RegistrosEFD, UnidadesEItensVemComOPrimeiroECFComMovimento) {
  // ECF 1 sells without a Z reduction; ECF 2's day is the only movement.
  c.m.Produto(10, "ARROZ").Tributacao('T', 1800);
  c.m.Produto(20, "SAL").Tributacao('F', 0, "060");
  c.m.Cupom(1, C::kDia1).Item(20, 1, 2);
  c.m.Cupom(2, C::kDia1).Item(10, 1, 10);
  c.m.ReducaoZ(2, C::kDia1);
  c.m.Grava();
  Sped(0, C::kDia1, C::kDia1);
  const auto linhas = LinhasCRLF(Extrato());
  ASSERT_EQ(linhas.size(), 11u) << testing::PrintToString(linhas);
  EXPECT_EQ(linhas[1], "|0190|UN|UNIDADE|");
  // The product of ECF 1 is an item of the period all the same (in map
  // order: 10 hashes to bucket 8, 20 to bucket 16).
  EXPECT_EQ(std::tuple(linhas[2].substr(0, 16), linhas[3].substr(0, 14), linhas[4], linhas[5].substr(0, 15)),
            std::tuple("|0200|P10|ARROZ|", "|0200|P20|SAL|", "|C400|2D|QMX-1|AA0910000000000000A1|002|", "|C405|02112026|"));
}

TEST_F(RegistrosEFD, PeriodoSemMovimentoEFilialSoComCPF) {
  auto& sessao = c.empresa.Gravador().Sessao();
  sessao.Executa("UPDATE filial SET cnpj = '../-', cpf = '123.456.789-09', industrial = 1 WHERE numero = 1", {});
  Sped(1, C::kDia1, C::kDia1);
  // Only 0000: no CNPJ digits (the field empty) and the CPF, the
  // registration without its dots, the municipality by its IBGE code,
  // industrial.
  EXPECT_EQ(Extrato(), "|0000|004|0|02112026|02112026|Comércio de Alimentos Ávila Ltda||12345678909|"
                       "SP|110042490114|3550308|4.321.987-0|200123456|A|0|\r\n");
  EXPECT_TRUE(c.host.Caixas().empty());  // one ECF asked for: no box
}

TEST_F(RegistrosEFD, PastaLocalQueNaoEPastaNaoDaArquivo) {
  const std::string arquivo = c.local.Grava("arquivo", "x");
  c.empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva]\nLocalTorvo=" + arquivo + "\n");
  EXPECT_EQ(Sped(0, C::kDia1, C::kDia1, false), "");
  // The operator is told which file could not be made, and why.
  ASSERT_EQ(c.host.Caixas().size(), 1u);
#if defined(_WIN32)
  // Windows names the failure otherwise (a path not found): the box's
  // first lines are the same.
  EXPECT_EQ(c.host.Caixas()[0].texto.rfind("Não foi possível gravar o arquivo\r\n", 0), 0u) << c.host.Caixas()[0].texto;
#else
  EXPECT_EQ(c.host.Caixas()[0].texto, "Não foi possível gravar o arquivo\r\n" + arquivo +
                                          "/TorvoECF-SpedFiscal-112026.txt\r\nParte do caminho " + arquivo +
                                          " não é uma pasta.");
#endif
  EXPECT_EQ(c.host.Caixas()[0].flags, ui::MB_OK | ui::MB_ICONERROR);
  EXPECT_TRUE(C::Arquivos(c.PastaArquivos()).empty());
}

TEST(RegistrosEFDSemPasta, SemLocalTorvoNaoHaArquivoEOOperadorSabeOQueFalta) {
  CenarioFiscal c(MotorTeste::SQLite, false);
  Contexto() = ContextoBiblioteca{};
  QMX_Inicializa(c.empresa.Chave().c_str(), 1, 0);
  char* caminho = nullptr;
  EXPECT_FALSE(QMX_SpedFiscal(&caminho, 1, 0, DiaDezesseisBits(C::kDia1), DiaDezesseisBits(C::kDia1)));
  Contexto() = ContextoBiblioteca{};
  EXPECT_EQ(caminho, nullptr);
  ASSERT_EQ(c.host.Caixas().size(), 1u);
  EXPECT_EQ(c.host.Caixas()[0].texto,
            "A pasta local desta máquina não está configurada (valor LocalTorvo da chave SOFTWARE\\ZT Redudeva, "
            "seção [SOFTWARE\\ZT Redudeva] do registro.ini).\r\nO extrato não foi gerado.");
  EXPECT_EQ(c.host.Caixas()[0].flags, ui::MB_OK | ui::MB_ICONERROR);
  EXPECT_TRUE(C::Arquivos(c.PastaArquivos()).empty());
}

TEST_F(RegistrosEFD, PeriodoInvertidoNaoGera) {
  Sped(0, C::kDia2, C::kDia1, false);
  EXPECT_EQ(TextosCaixas(c.host),
            std::vector<std::string>{"A data final não pode ser anterior à data inicial.\nCorrija o período e tente novamente."});
  EXPECT_TRUE(C::Arquivos(c.PastaLocal()).empty());
}

TEST_F(RegistrosEFD, FalhaDoServidorPerdeODiaOuOArquivoNuncaMeioArquivo) {
  c.Movimento();
  const int passos = PassosDe([&] { Sped(0, C::kDia1, C::kDia4); });
  const std::string completo = Extrato();
  int semArquivo = 0, comLacunas = 0;
  for (int passo = 1; passo <= passos; ++passo) {
    fs::remove_all(c.PastaLocal());
    fs::create_directories(c.PastaLocal());
    c.host.Limpa();
    dados::CFalhaDadosInjetada falha(passo, com::RPC_S_SERVER_UNAVAILABLE);
    char* caminho = nullptr;
    const bool gerado = QMX_SpedFiscal(&caminho, 1, 0, DiaDezesseisBits(C::kDia1), DiaDezesseisBits(C::kDia4));
    delete[] caminho;
    const auto arquivos = C::Arquivos(c.PastaLocal());
    if (!gerado) {
      ++semArquivo;
      EXPECT_TRUE(arquivos.empty()) << passo;
      continue;
    }
    ASSERT_EQ(arquivos.size(), 1u) << passo;
    const std::string extrato = C::Le(arquivos[0]);
    // A lost day or ECF is reported by the extract's own name; only the
    // branch's readers of 0000 say nothing (a failed read leaves a field
    // empty).
    if (extrato != completo) {
      bool reportado = false;
      for (const auto& caixa : c.host.Caixas()) reportado |= caixa.texto.find("QMXRegistrosEFD") != std::string::npos;
      const auto corpo = [](const std::string& t) { return t.substr(t.find("\r\n")); };
      if (reportado) ++comLacunas;
      else EXPECT_EQ(corpo(extrato), corpo(completo)) << passo;
    }
  }
  EXPECT_GT(semArquivo, 0);
  EXPECT_GT(comLacunas, 0);
}

// ----- the rules under the amounts -----

TEST(RegrasEFD, PisCofinsPelaValidadeDeCadaAliquota) {
  efd::ItemLido produto;
  const NumeroDia d = CodificaDia(10, 11, 2026);
  produto.pisCofins = {{1, 1, d, 0, 165},       // from d, open
                       {1, 2, d - 5, d, 760},   // ends on d
                       {1, 2, d + 1, 0, 300},   // from the next day
                       {1, 3, 0, 0, 5000}};     // another kind
  struct Caso {
    NumeroDia data;
    std::int64_t pis, cofins;
  };
  // 100.00 at 1.65 % and 7.60 % (or 3.00 %).
  for (const Caso& caso :
       {Caso{d - 6, 0, 0}, Caso{d - 5, 0, 76000}, Caso{d, 16500, 76000}, Caso{d + 1, 16500, 30000}}) {
    const auto r = efd::CItensEFD::Calcula(produto, false, 1000000, caso.data);
    EXPECT_EQ(r.pis, caso.pis) << caso.data - d;
    EXPECT_EQ(r.cofins, caso.cofins) << caso.data - d;
  }
  efd::ItemLido servico;
  servico.pisServico = 65;
  servico.cofinsServico = 300;
  servico.pisCofins = produto.pisCofins;  // not a product's: ignored
  const auto r = efd::CItensEFD::Calcula(servico, true, 1000000, 0);
  EXPECT_EQ(r.pis, 6500);
  EXPECT_EQ(r.cofins, 30000);
}

TEST(RegrasEFD, ParteDoValorArredondaMetadeParaPar) {
  struct Caso {
    std::int64_t valor;
    std::uint32_t centesimos;
    std::int64_t esperado;
  };
  // 0.0050 × 1 % = 0.00005 (down to even 0), 0.0150 × 1 % = 0.00015 (up to
  // 0.0002), 12.3456 × 18 % = 2.222208 (2.2222), negatives alike.
  for (const Caso& c : {Caso{50, 100, 0}, Caso{150, 100, 2}, Caso{151, 100, 2}, Caso{149, 100, 1},
                        Caso{123456, 1800, 22222}, Caso{-150, 100, -2}, Caso{-50, 100, 0}, Caso{0, 1800, 0},
                        // Products at the edge of 64 bits, on both sides of it.
                        Caso{INT64_MAX / 4, 4, 922337203685478}, Caso{INT64_MAX / 4 + 1, 4, 922337203685478},
                        Caso{-(INT64_MAX / 4), 4, -922337203685478}, Caso{INT64_MAX, 100, 92233720368547758},
                        Caso{INT64_MIN, 100, -92233720368547758}})
    EXPECT_EQ(efd::ParteDoValor(c.valor, c.centesimos), c.esperado) << c.valor << " " << c.centesimos;
}

TEST(RegrasEFD, CampoNumericoComoFormataCampo) {
  for (const char* texto : {"", "12.345-6/7", "1,50", " 1 2 ", "-12,5", "123456789012345678", "abc", "0"}) {
    for (int largura : {0, 1, 4, 6, 14}) {
      for (bool virgula : {false, true}) {
        std::string campo = "x";
        efd::AcrescentaNumerico(campo, texto, largura, virgula);
        EXPECT_EQ(campo, "x" + CQMXGenerica::FormataCampo(texto, static_cast<std::uint16_t>(largura), true, virgula))
            << texto << " " << largura << " " << virgula;
      }
    }
  }
}

// The line builder writes its fields by hand; each must give what the
// formatter gives.
TEST(RegrasEFD, CamposComoOFormatador) {
  CQMXFormatador f;
  char texto[40];
  for (NumeroDia dia = 0; dia <= CodificaDia(1, 3, 2101); ++dia) {
    ASSERT_EQ(std::string(texto, efd::TextoData(texto, dia)), f.FormataDataDMA(dia, "")) << dia;
    ASSERT_EQ(std::string(texto, efd::TextoData(texto, dia)), DataInvertida(dia, false)) << dia;
  }
  for (std::int64_t valor : {std::int64_t{0}, std::int64_t{1}, std::int64_t{-1}, std::int64_t{9999}, std::int64_t{10000},
                             std::int64_t{-123456789}, std::int64_t{12345678901234}, std::int64_t{99999999999999},
                             std::int64_t{100000000000000}, std::int64_t{-999999999999999}, INT64_MAX, INT64_MIN})
    for (int decimais = 0; decimais <= 9; ++decimais) {
      const std::string valorTexto(texto, efd::TextoValor(texto, valor, decimais));
      EXPECT_EQ(valorTexto, f.FormataValor(valor, CQMXFormatador::kTamanhoBuffer - 1, decimais, false, false))
          << valor << " " << decimais;
      // A 14-wide amount is that text as a numeric field keeping its comma.
      std::string n14, numerico;
      efd::CLinhaEFD(n14, "X").N14(valor, decimais);
      efd::CLinhaEFD(numerico, "X").Numerico(valorTexto, 14, true);
      EXPECT_EQ(n14, numerico) << valor << " " << decimais;
    }
  for (const char* doc : {"", "12.345.678/0001-95", "019", "3215-0001", "(11) 3215", "123456789012345"}) {
    for (int largura : {0, 2, 9, 11, 14}) {
      std::string linha;
      efd::CLinhaEFD(linha, "X").Digitos(doc, largura);
      EXPECT_EQ(linha, std::string("|X|") + f.FormataNumeroTexto(doc, largura, true) + "|") << doc << " " << largura;
    }
  }
}

TEST(RegrasEFD, CamposDasLinhas) {
  std::string texto;
  efd::CLinhaEFD(texto, "TEST")
      .N14(12345000)           // 1234,5
      .N14(-12345000)          // the sign is one of the characters a numeric field drops
      .N14(12345678, 3)        // quantity: 1234,567
      .Aliquota6(1800).Aliquota6(5).Valor(12345000)
      .Valor(99999)            // four decimals cut, not rounded
      .ValorCortado(6553500, 2, 6).ValorCortado(100000000, 2, 6)
      .Digitos("3215-0001", 9).NumericoInteiro(7, 3).Data(CodificaDia(5, 11, 2026)).Vazios(2).Fim();
  EXPECT_EQ(texto, "|TEST|00000001234,50|00000001234,50|0000001234,567|018,00|000,05|1234,50|9,99|655,35|10000,|"
                   "032150001|007|05112026|||\r\n");
}

// Lines are written ahead of the text's end and cut back: a field wider
// than the room grows it mid-line, a line left without its end keeps what
// it wrote, and a builder that outlives its ended line cuts nothing after.
TEST(RegrasEFD, LinhasCrescemECortamNoLugar) {
  std::string texto = "x";
  {
    efd::CLinhaEFD aberta(texto, "A");
    aberta.Texto(std::string(1000, 'a')).Inteiro(-5);
  }
  {
    efd::CLinhaEFD terminada(texto, "B");
    terminada.Aliquota6(65535).Aliquota6(0).Cfop("5.1020").Cfop("51").Cfop("x").Fim();
    efd::CLinhaEFD(texto, "C").Vazios(0).Literal("L").Fim();
  }
  EXPECT_EQ(texto, "x|A|" + std::string(1000, 'a') + "|-5||B|655,35|000,00|1020|0051||\r\n|C|L\r\n");
}

}  // namespace
