// Every file over periods past the end of 2026, on both engines, with the
// clock on 10 June 2027: from 15 December 2026 to 15 January 2027, and
// across the day whose 16-bit number wraps around (4 June 2027 is 65 535,
// 5 June 2027 is 1). Each file must carry the days that had movement, in
// order, and no other; the exports get the dates as the point-of-sale
// program hands them, in 16 bits.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "apoio/Linhas.h"
#include "apoio/Motores.h"
#include "apoio/MovimentoTeste.h"
#include "apoio/VerificaEAD.h"
#include "arquivos/sintegra/QMXSintegra.h"
#include "arquivos/efd/QMXVendaPeriodo.h"
#include "frame/ContextoBiblioteca.h"
#include "frame/QMXUTIL.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/texto/CaminhoArquivo.h"

using namespace qmx;
using namespace qmx::testes;
namespace fs = std::filesystem;

namespace {

const NumeroDia k15Dez = CodificaDia(15, 12, 2026);
const NumeroDia k31Dez = CodificaDia(31, 12, 2026);
const NumeroDia k1Jan = CodificaDia(1, 1, 2027);
const NumeroDia k15Jan = CodificaDia(15, 1, 2027);
const NumeroDia k4Jun = CodificaDia(4, 6, 2027);  // 65 535 in 16 bits
const NumeroDia k5Jun = CodificaDia(5, 6, 2027);  // 1 in 16 bits
const std::vector<NumeroDia> kDias = {k15Dez, k31Dez, k1Jan, k15Jan, k4Jun, k5Jun};

// The two periods of the files and the days of movement in each.
struct Periodo {
  NumeroDia inicial, final;
  std::vector<NumeroDia> dias;
  std::string Inicial(bool anoQuatroDigitos = true) const { return TextoData(inicial, anoQuatroDigitos); }
  std::string Final(bool anoQuatroDigitos = true) const { return TextoData(final, anoQuatroDigitos); }
};
const Periodo kVirada{k15Dez, k15Jan, {k15Dez, k31Dez, k1Jan, k15Jan}};
const Periodo kJunho{CodificaDia(1, 6, 2027), CodificaDia(6, 6, 2027), {k4Jun, k5Jun}};
const Periodo kPeriodos[] = {kVirada, kJunho};

std::string AMD(NumeroDia d) { return DataInvertida(d, true); }
std::string DMA(NumeroDia d) { return DataInvertida(d, false); }

// For each line, the day of the movement whose date it carries in the form
// `forma` gives; "?" when it carries none of them (a date decoded wrong).
template <class Forma>
std::vector<std::string> DiasDasLinhas(const std::vector<std::string>& linhas, Forma forma) {
  std::vector<std::string> dias;
  for (const auto& l : linhas) {
    std::string achado = "?";
    for (NumeroDia d : kDias)
      if (l.find(forma(d)) != std::string::npos) achado = TextoData(d, true);
    dias.push_back(achado);
  }
  return dias;
}

// Each day of `dias` `vezes` times in a row, as DiasDasLinhas names them;
// the whole `ecfs` times over (a file that lists each ECF's days apart).
std::vector<std::string> Cada(const std::vector<NumeroDia>& dias, int vezes, int ecfs = 1) {
  std::vector<std::string> r;
  for (int e = 0; e < ecfs; ++e)
    for (NumeroDia d : dias)
      for (int i = 0; i < vezes; ++i) r.push_back(TextoData(d, true));
  return r;
}

std::vector<std::string> Registros(const std::vector<std::string>& linhas, const std::string& tipo) {
  std::vector<std::string> r;
  for (const auto& l : linhas)
    if (l.rfind(tipo, 0) == 0) r.push_back(l);
  return r;
}

// Fixed-width files have no field where the old two-digit pivot would have
// put 2027 and later back in the last century.
void SemSeculoPassado(const std::string& texto) {
  for (const char* errado : {"1927", "1926"}) EXPECT_EQ(texto.find(errado), std::string::npos) << errado;
}

// The company of the digital-bookkeeping files with two ECFs selling each
// day of kDias (a cupom with a customer on ECF 2), a nota fiscal and a DAV
// a day, and stock positions at the end of each day.
class AlemDe2026 : public NosDoisMotores {
 protected:
  void SetUp() override {
    NosDoisMotores::SetUp();
    if (IsSkipped()) return;
    m_cenario = std::make_unique<CenarioArquivos>(CenarioArquivos::Cadastro::Fiscal, GetParam(), true, "10/06/2027");
    c().empresa.ImpressoraEmulada(kSerieECF1);
    auto& m = c().m;
    m.Produto(10, "ARROZ TIPO 1 5KG").Tributacao('T', 1800).PisCofins(1, CodificaDia(1, 1, 2026), 0, 165);
    m.Produto(20, "REFRIGERANTE COLA 2L").Tributacao('F', 0, "060");
    Copia(m.Cliente(5, "ATACADO PAULISTA SA", 'J', "11.222.333/0001-81").InscricaoEstadual, "110.042.490.999");
    std::uint32_t n = 0;
    for (NumeroDia d : kDias) {
      ++n;
      m.Cupom(1, d).Item(10, n, 12.5).Item(20, 1, 3.99);
      m.Cupom(1, d).Item(20, 2, 3.99).Pagamento(2, 7.98);
      m.ReducaoZ(1, d);
      m.Cupom(2, d).Item(10, 1, 12.5).Cliente(5);
      m.ReducaoZ(2, d);
      m.Nota(100 + n, d).Participante(5).Item(10, 2, 25);
      m.Dav(1000 + n, 1, d).Item(10, 1, 12.5);
      m.Posicao(10, d, 500.0 - n);
      m.Posicao(20, d, 300.0 - n);
    }
    m.Grava();
    QMX_Inicializa(c().empresa.Chave().c_str(), 1, 0);
  }
  void TearDown() override { Contexto() = ContextoBiblioteca{}; }

  CenarioArquivos& c() { return *m_cenario; }

  // The only stored file, its signature checked, as lines (the DAV file's
  // lines end in "\n" alone).
  std::vector<std::string> Arquivo(bool crlf = true) {
    const auto arquivos = CenarioArquivos::Arquivos(c().PastaArquivos());
    if (arquivos.size() != 1) {
      ADD_FAILURE() << arquivos.size() << " arquivos; " << c().UltimaCaixa();
      return {};
    }
    nome = arquivos[0].filename().string();
    const std::string conteudo = CenarioArquivos::Le(arquivos[0]);
    EXPECT_TRUE(AssinaturaConfereNaLinhaDeComando(conteudo)) << nome;
    SemSeculoPassado(conteudo.substr(0, conteudo.rfind("EAD")));
    std::string texto = conteudo.substr(0, conteudo.rfind("EAD"));
    if (!crlf)
      for (std::size_t i = 0; (i = texto.find('\n', i)) != std::string::npos; i += 2) texto.replace(i, 1, "\r\n");
    return LinhasCRLF(texto);
  }
  int Roda(const std::string& roteiro, QMX_BOOL (*exportacao)()) {
    c().host.CarregaRoteiro(roteiro);
    return exportacao();
  }

  std::unique_ptr<CenarioArquivos> m_cenario;
  std::string nome;
};

TEST_P(AlemDe2026, Sintegra) {
  for (const Periodo& p : kPeriodos) {
    ASSERT_EQ(c().Executa<CQMXSintegra>("dialogo 14028\ndigita 13039 1\ndigita 13041 " + p.Inicial() +
                                        "\ndigita 13042 " + p.Final() + "\nseleciona 13044 2\nclica 1\n"),
              ui::IDOK)
        << c().UltimaCaixa();
    const auto linhas = Arquivo();
    // The file is named by today's day number: past 65 535 it has six
    // digits.
    EXPECT_EQ(nome.substr(0, 18), "ZTR0122026" + std::to_string(100000000 + CodificaDia(10, 6, 2027)).substr(1));
    ASSERT_FALSE(linhas.empty());
    EXPECT_EQ(linhas[0].substr(107, 16), AMD(p.inicial) + AMD(p.final));
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "50"), AMD), Cada(p.dias, 1));
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "60M"), AMD), Cada(p.dias, 2));
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "60I"), AMD), Cada(p.dias, 4));
    fs::remove_all(c().PastaArquivos());
  }
}

TEST_P(AlemDe2026, ExtratoSpedPelaExportacaoEmDezesseisBits) {
  for (const auto& [inicial, final, dias] : kPeriodos) {
    char* caminho = nullptr;
    ASSERT_TRUE(QMX_SpedFiscal(&caminho, 1, 0, DiaDezesseisBits(inicial), DiaDezesseisBits(final)));
    const std::string texto = CenarioArquivos::Le(texto::CaminhoNativo(caminho));
    const std::string arquivo = fs::path(texto::CaminhoNativo(caminho)).filename().string();
    delete[] caminho;
    EXPECT_EQ(arquivo, "TorvoECF-SpedFiscal-" + DMA(final).substr(2) + ".txt");
    const auto linhas = LinhasCRLF(texto);
    ASSERT_FALSE(linhas.empty());
    EXPECT_EQ(linhas[0].substr(0, 30), "|0000|004|0|" + DMA(inicial) + "|" + DMA(final) + "|");
    // A C405 per day and ECF, ECF 1 first; the C460 cupons carry their day
    // too.
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "|C405|"), DMA), Cada(dias, 1, 2)) << arquivo;
    EXPECT_EQ(Registros(linhas, "|C460|").size(), dias.size() * 3);
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "|C460|"), DMA), [&] {
      std::vector<std::string> r = Cada(dias, 2);
      const auto ecf2 = Cada(dias, 1);
      r.insert(r.end(), ecf2.begin(), ecf2.end());
      return r;
    }());
  }
}

TEST_P(AlemDe2026, VendaDoPeriodo) {
  for (const Periodo& p : kPeriodos) {
    ASSERT_EQ(c().Executa<CQMXVendaPeriodo>("dialogo 14030\ndigita 13055 1\ndigita 13053 " + p.Inicial() +
                                            "\ndigita 13054 " + p.Final() + "\nclica 13066\nclica 1\n"),
              ui::IDOK)
        << c().UltimaCaixa();
    const auto linhas = Arquivo();
    ASSERT_FALSE(linhas.empty());
    EXPECT_EQ(linhas[0].substr(0, 30), "|0000|006|0|" + DMA(p.inicial) + "|" + DMA(p.final) + "|");
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "|C405|"), DMA), Cada(p.dias, 1, 2));
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "|C100|"), DMA), Cada(p.dias, 1));
    fs::remove_all(c().PastaArquivos());
  }
}

// June goes from 65 532 to 2 in 16 bits.
TEST_P(AlemDe2026, MovimentosPelaExportacaoEmDezesseisBits) {
  for (const Periodo& p : kPeriodos) {
    QMX_Movimentos(DiaDezesseisBits(p.inicial), DiaDezesseisBits(p.final), 1, 1, 1);
    const auto linhas = Arquivo();
    EXPECT_EQ(nome.substr(nome.size() - 12), DMA(p.final) + ".txt");
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "R02"), AMD), Cada(p.dias, 1));
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "R04"), AMD), Cada(p.dias, 2));
    fs::remove_all(c().PastaArquivos());
  }
}

TEST_P(AlemDe2026, DAVs) {
  for (const Periodo& p : kPeriodos) {
    Roda("dialogo 14009\ndigita 14010 1\ndigita 14014 " + p.Inicial() + "\ndigita 14015 " + p.Final() +
             "\nclica 13011\nclica 1\n",
         QMX_DAVs);
    const auto linhas = Arquivo(false);
    EXPECT_EQ(nome, "DAVs-" + std::string(kSerieECF1) + "-" + DMA(p.inicial) + "-" + DMA(p.final) + ".txt");
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "D2"), AMD), Cada(p.dias, 1));
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "D3"), AMD), Cada(p.dias, 1));
    fs::remove_all(c().PastaArquivos());
  }
}

// The stock is the position at the end of the day before today: 9 June has
// none, so the last before it (5 June) counts; today's sales come off.
TEST_P(AlemDe2026, EstoqueDaVespera) {
  c().m.Cupom(1, CodificaDia(10, 6, 2027)).Item(10, 4, 12.5);
  c().m.Grava();
  Roda("dialogo 14023\ndigita 13013 1\nclica 1\n", QMX_Estoque);
  const auto linhas = Arquivo();
  EXPECT_EQ(nome, "Estoque100627.txt");
  ASSERT_EQ(linhas.size(), 4u);
  EXPECT_EQ(linhas[0].substr(linhas[0].size() - 14, 8), "20270610");
  EXPECT_EQ(linhas[1].substr(linhas[1].size() - 10), "+000490000");  // 494 less 4 sold today
  EXPECT_EQ(linhas[2].substr(linhas[2].size() - 10), "+000294000");
}

TEST_P(AlemDe2026, MemoriaFiscalEArquivoMFDComAnosDeDoisDigitos) {
  for (const Periodo& p : kPeriodos) {
    Roda("dialogo 14024\nclica 13059\ndigita 13060 " + p.Inicial() + "\ndigita 13061 " + p.Final() + "\nclica 1\n",
         [] { return QMX_LMF("c"); });
    auto linhas = Arquivo();
    EXPECT_EQ(nome, std::string(kSerieECF1) + "_" + DMA(p.inicial) + "_" + DMA(p.final) + ".txt");
    ASSERT_FALSE(linhas.empty());
    EXPECT_NE(linhas[0].find(AMD(p.inicial) + AMD(p.final)), std::string::npos) << linhas[0];
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "E12"), AMD), Cada(p.dias, 1));
    fs::remove_all(c().PastaArquivos());
    // Two-digit years typed into the MFD dialog reach the printer as such
    // and are read back as 2026 and 2027.
    Roda("dialogo 14025\ndigita 13026 " + p.Inicial(false) + "\ndigita 13023 " + p.Final(false) + "\nclica 1\n",
         QMX_ArqMFD);
    linhas = Arquivo();
    ASSERT_FALSE(linhas.empty());
    EXPECT_NE(linhas[0].find(AMD(p.inicial) + AMD(p.final)), std::string::npos) << linhas[0];
    EXPECT_EQ(DiasDasLinhas(Registros(linhas, "E12"), AMD), Cada(p.dias, 1));
    fs::remove_all(c().PastaArquivos());
  }
  EXPECT_EQ(nome, "BE91B2_1627_6627.txt");  // the second generation drops every "0"
  // The reading by date from a two-digit year to today, exported.
  Roda("dialogo 14024\ndigita 13017 15/12/26\nclica 13016\nclica 1\n", [] { return QMX_LMF("c"); });
  const auto leitura = Arquivo();
  EXPECT_EQ(nome, "LMFCompleta1512202610062027" + std::string(kSerieECF1) + ".txt");
  const auto intervalo = Registros(leitura, "INTERVALO POR DATA");
  EXPECT_EQ(intervalo, (std::vector<std::string>{"INTERVALO POR DATA: 15/12/2026 A 10/06/2027"}));
}

// The mirror of the detail memory from a two-digit day to today, named by
// today.
TEST_P(AlemDe2026, EspelhoMFD) {
  Roda("dialogo 14007\ndigita 13004 15/12/26\nresposta sim\nclica 1\n", QMX_EspelhoMFD);
  const auto arquivos = CenarioArquivos::Arquivos(c().PastaArquivos());
  ASSERT_EQ(arquivos.size(), 1u) << c().UltimaCaixa();
  EXPECT_EQ(arquivos[0].filename().string(), "EspelhoMFD" + std::string(kSerieECF1) + "-20270610.txt");
  const std::string espelho = CenarioArquivos::Le(arquivos[0]);
  EXPECT_NE(espelho.find("TIPO 1 INICIAL 15122026 FINAL 10062027\r\n"), std::string::npos) << espelho;
  for (NumeroDia d : kDias)
    EXPECT_NE(espelho.find("CUPOM FISCAL " + TextoData(d, true)), std::string::npos) << TextoData(d, true);
  SemSeculoPassado(espelho);
}

TEST_P(AlemDe2026, MeiosDePagamento) {
  Roda("dialogo 14008\ndigita 13009 31/12/2026\ndigita 13008 05/06/2027\nclica 1\n", QMX_MeiosPagamento);
  const auto relatorios = impressora::RelatoriosImpressos();
  ASSERT_EQ(relatorios.size(), 1u) << c().UltimaCaixa();
  const std::string& texto = relatorios[0].texto;
  EXPECT_EQ(texto.rfind("Periodo Solicitado: de 31/12/2026 a 05/06/2027\n\r", 0), 0u) << texto;
  std::string dias;
  for (std::size_t i = 0; (i = texto.find("SOMA DO DIA ", i)) != std::string::npos; i += 22)
    dias += texto.substr(i + 12, 10) + " ";
  EXPECT_EQ(dias, "31/12/2026 01/01/2027 15/01/2027 04/06/2027 05/06/2027 ");
  EXPECT_NE(texto.find("05/06/2027-CARTAO-Cupom Fiscal-7,98"), std::string::npos) << texto;
}

QMX_NOS_DOIS_MOTORES(AlemDe2026);

}  // namespace
