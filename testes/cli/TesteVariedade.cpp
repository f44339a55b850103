// Properties of the files over many varied companies: each seed makes a
// company of its own (qmx demo --variada), in a month of 2026 or 2027,
// every generator runs on it and
// every file must pass the published layouts' checks; the files must also
// agree with each other on what the ECF did each day. A failing seed names
// itself, so that `qmx demo --variada N` shows it again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "apoio/Linhas.h"
#include "apoio/PastaTemporaria.h"
#include "apoio/ProgramaQmx.h"
#include "apoio/RegistroTemporario.h"
#include "apoio/RelogioSimulado.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/EnderecoBase.h"

using namespace qmx::testes;
namespace fs = std::filesystem;

namespace {

constexpr const char* kSerieECF1 = "QMX0000000000000001";

// Seeds of the run: QMX_SEMENTES of them from QMX_PRIMEIRA_SEMENTE (40
// from 1 unless told; scripts/variedade.sh runs a thousand).
long Ambiente(const char* nome, long padrao) {
  const char* valor = std::getenv(nome);
  return valor && *valor ? std::atol(valor) : padrao;
}

std::int64_t Numero(const std::string& texto) {
  std::int64_t n = 0;
  for (char c : texto)
    if (c >= '0' && c <= '9') n = n * 10 + (c - '0');
  return n;
}

// What an ECF's day is in every file: date (AAAAMMDD), CRZ, last COO and
// gross sale in cents; the grand total where the file has it (else -1).
struct Dia {
  std::int64_t crz = 0, coo = 0, vendaBruta = 0, grandeTotal = -1;
  bool operator==(const Dia& o) const {
    return crz == o.crz && coo == o.coo && vendaBruta == o.vendaBruta &&
           (grandeTotal < 0 || o.grandeTotal < 0 || grandeTotal == o.grandeTotal);
  }
};
using Dias = std::map<std::string, Dia>;

std::string Conteudo(const fs::path& arquivo) {
  const std::string texto = PastaTemporaria::Le(arquivo.string());
  const auto ead = texto.rfind("EAD");
  return ead == std::string::npos ? texto : texto.substr(0, ead);
}

// Movimentos R02 and the detail memory's E12 share their positions.
Dias DiasR02OuE12(const std::string& texto, const char* registro) {
  Dias r;
  for (const auto& l : LinhasCRLF(texto))
    if (l.rfind(registro, 0) == 0 && l.substr(3, 19) == kSerieECF1)
      r[l.substr(64, 8)] = {Numero(l.substr(46, 6)), Numero(l.substr(52, 6)), Numero(l.substr(86, 14))};
  return r;
}

// Sintegra's 60 lines of every ECF, keyed by serial and date (the 60R by
// month): the 60M, and per tax situation the 60A values and the 60D and
// 60R sums.
struct Sintegra60 {
  Dias m60;
  std::map<std::string, std::map<std::string, std::int64_t>> a60, d60;
  std::map<std::string, std::int64_t> r60, d60Mes;
};

Sintegra60 Le60(const std::string& texto) {
  Sintegra60 r;
  for (const auto& l : LinhasCRLF(texto)) {
    const std::string chave = l.substr(11, 20) + l.substr(3, 8);
    if (l.rfind("60M", 0) == 0)
      r.m60[chave] = {Numero(l.substr(48, 6)), Numero(l.substr(42, 6)), Numero(l.substr(57, 16)),
                      Numero(l.substr(73, 16))};
    else if (l.rfind("60A", 0) == 0)
      r.a60[chave][l.substr(31, 4)] += Numero(l.substr(35, 12));
    else if (l.rfind("60D", 0) == 0) {
      r.d60[chave][l.substr(90, 4)] += Numero(l.substr(58, 16));
      if (l.substr(90, 4) != "CANC") r.d60Mes[l.substr(31, 14) + l.substr(90, 4)] += Numero(l.substr(58, 16));
    } else if (l.rfind("60R", 0) == 0)
      r.r60[l.substr(9, 14) + l.substr(68, 4)] += Numero(l.substr(36, 16));
  }
  return r;
}

// The SPED extract's C405 lines, keyed by the C400's serial and the date.
Dias DiasC405(const std::string& texto) {
  Dias r;
  std::string serie;
  for (const auto& l : LinhasCRLF(texto)) {
    std::vector<std::string> c;
    for (std::size_t i = 1, j; (j = l.find('|', i)) != std::string::npos; i = j + 1) c.push_back(l.substr(i, j - i));
    if (c.size() > 3 && c[0] == "C400") serie = c[3];
    if (c.size() < 7 || c[0] != "C405") continue;
    serie.resize(20, ' ');
    r[serie + c[1].substr(4, 4) + c[1].substr(2, 2) + c[1].substr(0, 2)] = {Numero(c[3]), Numero(c[4]), Numero(c[6]),
                                                                           Numero(c[5])};
  }
  return r;
}

// The days of ECF 1 among every ECF's, keyed by date alone.
Dias DoECF1(const Dias& todos) {
  Dias r;
  const std::string serie = std::string(kSerieECF1) + " ";
  for (const auto& [chave, d] : todos)
    if (chave.rfind(serie, 0) == 0) r[chave.substr(20)] = d;
  return r;
}

std::string Mostra(const Dias& dias) {
  std::string s;
  for (const auto& [data, d] : dias)
    s += data + ": CRZ " + std::to_string(d.crz) + " COO " + std::to_string(d.coo) + " VB " +
         std::to_string(d.vendaBruta) + " GT " + std::to_string(d.grandeTotal) + "\n";
  return s;
}

// Every nota of branch 1 in the period is in both files that carry notas,
// whatever happened to its participant or products afterwards: the
// numbers of the Sintegra 50 lines and of the C100 lines are those of the
// database's notas of the files' models.
void ConfereNotas(const std::string& pasta, const std::string& sintegra, const std::string& venda) {
  auto base = qmx::dados::AbreSessao("sqlite:" + pasta + "/DEMO/empresa.db");
  const auto numeros = [&](const char* modelos) {
    std::set<std::int64_t> r;
    for (const auto& l : base->Consulta(std::string("SELECT n.numero FROM nota_fiscal n JOIN tipo_documento t ON "
                                                    "t.codigo = n.tipo_documento JOIN documento_fiscal d ON d.codigo = "
                                                    "t.documento_fiscal WHERE n.filial = 1 AND d.modelo IN (") +
                                            modelos + ")",
                                        {}))
      r.insert(l.Inteiro(0));
    return r;
  };
  std::set<std::int64_t> em50, emC100;
  for (const auto& l : LinhasCRLF(sintegra))
    if (l.rfind("50", 0) == 0) em50.insert(Numero(l.substr(45, 6)));
  for (const auto& l : LinhasCRLF(venda))
    if (l.rfind("|C100|", 0) == 0) {
      std::vector<std::string> c;
      for (std::size_t i = 1, j; (j = l.find('|', i)) != std::string::npos; i = j + 1) c.push_back(l.substr(i, j - i));
      emC100.insert(Numero(c[7]));
    }
  EXPECT_EQ(em50, numeros("'01', '1B', '04', '55'"));
  EXPECT_EQ(emC100, numeros("'01', '1B', '04', '55'"));
}

// The books of the company's month: what was cancelled at a till of ECF 1
// (a cupom, an item) had its stock integrated right after the sale, as the
// point of sale does, and the cancellation came after; then the four passes
// of every day and ECF, each day reconciled on its own. A month blocked
// afterwards keeps its books as they were closed.
void ConfereLivros(const std::string& pasta, const std::string& mes) {
  auto base = qmx::dados::AbreSessao("sqlite:" + pasta + "/DEMO/empresa.db");
  const std::string empresa = "--registro '" + pasta + "/registro.ini' --empresa DEMO ";
  auto estoqueAntesDoCancelamento = [&](const std::string& onde, const std::string& desfaz, const std::string& refaz) {
    for (const auto& l : base->Consulta("SELECT c.id, c.data, c.coo FROM cupom c WHERE c.emissora = 1 AND c.status <> 4 "
                                        "AND " + onde + " ORDER BY c.id LIMIT 2",
                                        {})) {
      base->Executa(desfaz, {l.Inteiro(0)});
      const Execucao cupom = Qmx(empresa + "integra-cupom --ecf 1 --cupom " + l.Texto(2) + " --data " +
                                 qmx::TextoData(static_cast<qmx::NumeroDia>(l.Inteiro(1)), true));
      EXPECT_EQ(cupom.codigo, 0) << cupom.saida;
      base->Executa(refaz, {l.Inteiro(0)});
    }
  };
  estoqueAntesDoCancelamento("c.cancelado = 1", "UPDATE cupom SET cancelado = 0 WHERE id = ?",
                             "UPDATE cupom SET cancelado = 1 WHERE id = ?");
  estoqueAntesDoCancelamento(
      "c.cancelado = 0 AND EXISTS (SELECT 1 FROM cupom_item i WHERE i.cupom = c.id AND i.cancelado = 1 AND "
      "i.servico = 0)",
      "UPDATE cupom_item SET cancelado = 2 WHERE cupom = ? AND cancelado = 1",
      "UPDATE cupom_item SET cancelado = 1 WHERE cupom = ? AND cancelado = 2");
  const std::int64_t estornar = base->Consulta(
      "SELECT COUNT(*) FROM movimento_estoque m JOIN cupom c ON c.id = m.cupom JOIN cupom_item i ON i.cupom = m.cupom "
      "AND i.item = m.item WHERE c.cancelado = 1 OR i.cancelado = 1", {}).front().Inteiro(0);
  const int ultimo = mes.substr(0, 2) == "06" || mes.substr(0, 2) == "11" ? 30 : 31;
  const std::string periodo =
      "integra periodo --data-inicial 01/" + mes + " --data-final " + std::to_string(ultimo) + "/" + mes;
  const Execucao integrado = Qmx(empresa + periodo);
  EXPECT_EQ(integrado.codigo, 0) << integrado.saida;
  EXPECT_NE(integrado.saida.find("todos conferem"), std::string::npos) << integrado.saida;
  // Each exit of what was cancelled came back once.
  EXPECT_EQ(base->Consulta("SELECT COUNT(*) FROM movimento_estoque WHERE estorno_de <> 0", {}).front().Inteiro(0),
            estornar);
  const char* livros = "SELECT (SELECT COUNT(*) FROM lancamento_contabil) + (SELECT COUNT(*) FROM livro_fiscal) + "
                       "(SELECT COUNT(*) FROM titulo_receber) + (SELECT COUNT(*) FROM movimento_estoque)";
  const std::int64_t antes = base->Consulta(livros, {}).front().Inteiro(0);
  base->Executa("UPDATE filial SET mes_bloqueado_contabil = ?",
                {qmx::CodificaMes(static_cast<unsigned>(std::stoi(mes.substr(0, 2))),
                                  static_cast<unsigned>(std::stoi(mes.substr(3))))});
  const Execucao bloqueado = Qmx(empresa + periodo);
  EXPECT_EQ(bloqueado.codigo, 0) << bloqueado.saida;
  EXPECT_EQ(base->Consulta(livros, {}).front().Inteiro(0), antes);
}

TEST(Variedade, CadaEmpresaPassaOsLeiautesEOsArquivosConcordam) {
  const long primeira = Ambiente("QMX_PRIMEIRA_SEMENTE", 1);
  const long sementes = Ambiente("QMX_SEMENTES", 40);
  for (long semente = primeira; semente < primeira + sementes; ++semente) {
    SCOPED_TRACE("qmx demo --variada " + std::to_string(semente));
    PastaTemporaria pasta;
    // With the clock on 10 July 2027, a third of the seeds move in January
    // 2027 and a third in June 2027, whose 16-bit day numbers wrap on the
    // 5th: every generator past 2026, the exports taking their dates in 16
    // bits.
    RegistroTemporario relogio(RelogioSimulado("10/07/2027", "10:00:00"));
    const char* meses[] = {"11/2026", "01/2027", "06/2027"};
    const Execucao demo = Qmx("demo --variada " + std::to_string(semente) + " --mes " + meses[semente % 3] +
                              " --pasta '" + pasta.Caminho("v") + "'");
    ASSERT_EQ(demo.codigo, 0) << demo.saida;

    std::string movimentos, mfd, sintegra, extrato, venda;
    for (const auto& a : fs::directory_iterator(pasta.Caminho("v/DEMO/Arquivos-Eletronicos"))) {
      const std::string nome = a.path().filename().string();
      const std::string texto = Conteudo(a.path());
      if (texto.rfind("R01", 0) == 0) movimentos = texto;
      else if (texto.rfind("10", 0) == 0) sintegra = texto;
      else if (nome.rfind("TorvoECF-SpedFiscal", 0) == 0) extrato = texto;
      else if (texto.rfind("|0000|006|", 0) == 0) venda = texto;
      else if (texto.rfind("E01", 0) == 0 && texto.find("MFD") == 112) mfd = texto;
    }
    ASSERT_FALSE(movimentos.empty() || mfd.empty() || sintegra.empty() || extrato.empty() || venda.empty());
    // Per day of ECF 1: the same reduction in the four files; per day of
    // every ECF of the branch, in Sintegra and the extract.
    const Dias r02 = DiasR02OuE12(movimentos, "R02"), e12 = DiasR02OuE12(mfd, "E12");
    const Sintegra60 s60 = Le60(sintegra);
    const Dias c405 = DiasC405(extrato);
    // Branch 1 opens every day drawn: three to six reductions of ECF 1.
    EXPECT_GE(r02.size(), 3u) << Mostra(r02);
    EXPECT_LE(r02.size(), 6u) << Mostra(r02);
    EXPECT_EQ(r02, e12) << Mostra(r02) << "E12:\n" << Mostra(e12);
    EXPECT_EQ(r02, DoECF1(s60.m60)) << Mostra(r02) << "60M:\n" << Mostra(s60.m60);
    // Every Z reduction is in both, a day without gross sale included; and
    // in the Venda do Período file too.
    EXPECT_EQ(s60.m60, c405) << Mostra(s60.m60) << "C405:\n" << Mostra(c405);
    EXPECT_EQ(s60.m60, DiasC405(venda)) << Mostra(s60.m60) << "C405:\n" << Mostra(DiasC405(venda));
    ConfereNotas(pasta.Caminho("v"), sintegra, venda);
    for (const auto& [chave, d] : s60.m60) {
      // A day's 60A lines (rates, F, I, N, cancellations, discounts, ISS)
      // add up to its gross sale; its items' 60D sums, per tax situation,
      // to the 60A of that situation (the discounts have no 60D).
      auto a60 = s60.a60.at(chave);
      std::int64_t soma = 0;
      for (const auto& [situacao, valor] : a60) soma += valor;
      EXPECT_EQ(soma, d.vendaBruta) << chave;
      a60.erase("DESC");
      std::erase_if(a60, [](const auto& p) { return p.second == 0; });
      const auto d60 = s60.d60.count(chave) ? s60.d60.at(chave) : std::map<std::string, std::int64_t>{};
      EXPECT_EQ(a60, d60) << chave;
    }
    // The month's 60R per item and situation are its days' 60D.
    EXPECT_EQ(s60.r60, s60.d60Mes);
    // The detail memory holds every COO of its range, in a cupom (E14) or
    // another document (E16), and each R06 document is among the E16.
    std::set<std::int64_t> coos;
    std::size_t e16 = 0, r06 = 0;
    for (const auto& l : LinhasCRLF(mfd)) {
      if (l.rfind("E14", 0) == 0) coos.insert(Numero(l.substr(52, 6)));
      if (l.rfind("E16", 0) == 0) coos.insert(Numero(l.substr(46, 6)));
      const std::string simbolo = l.rfind("E16", 0) == 0 ? l.substr(74, 2) : "";
      e16 += !simbolo.empty() && simbolo != "RZ" && simbolo != "LX" && simbolo != "MF" && simbolo != "NC";
    }
    for (const auto& l : LinhasCRLF(movimentos)) r06 += l.rfind("R06", 0) == 0;
    ASSERT_FALSE(coos.empty());
    EXPECT_EQ(static_cast<std::int64_t>(coos.size()), *coos.rbegin() - *coos.begin() + 1);
    EXPECT_EQ(e16, r06);

    ConfereLivros(pasta.Caminho("v"), meses[semente % 3]);
  }
}

}  // namespace
