// The demonstration company's month of movement, read back through the
// library's own connection classes: it must hold together as an ECF's
// memory does, contain every kind of record the files treat apart, and be
// the same on every run.
#include <gtest/gtest.h>

#ifdef QMX_DEMO

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "cli/EmpresaDemo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/PoolSessoes.h"
#include "plataforma/impressora/ApuracaoReducaoZ.h"

using namespace qmx;
using namespace qmx::dados;
using namespace qmx::testes;

namespace {

std::string Texto(const REG_REDUCAO_ZPS& z, const std::vector<REG_REDUCAO_Z_ALIQUOTAPS>& aliquotas) {
  std::ostringstream s;
  s << "CRZ " << z.CRZ << " CRO " << z.CRO << " COO " << z.COOInicial << "-" << z.COOFinal << " emitida "
    << z.DataEmissao << " " << z.HoraEmissao << " VB " << z.VendaBruta.int64 << " GT " << z.GrandeTotal.int64 << " F "
    << z.Substituicao.int64 << " I " << z.Isento.int64 << " N " << z.NaoTributado.int64 << " Can "
    << z.Cancelamentos.int64 << " D " << z.Descontos.int64 << " A " << z.Acrescimos.int64 << " ISS " << z.ISS.int64;
  for (const auto& a : aliquotas) s << " " << a.Posicao << a.Tipo << a.Aliquota << "=" << a.Valor.int64;
  return s.str();
}

// Every row of a statement, columns joined by "|" and rows by ";".
std::string Linhas(CSessaoDados& sessao, const std::string& sql) {
  std::string texto;
  for (const auto& l : sessao.Consulta(sql, {})) {
    if (!texto.empty()) texto += ";";
    for (std::size_t i = 0; i < l.Colunas(); ++i) texto += (i ? "|" : "") + l.Texto(i);
  }
  return texto;
}

// Every row of every table, each table in the order of all its columns;
// the salted password hashes are left out (they differ on purpose).
std::string Despejo(const std::string& endereco) {
  auto sessao = AbreSessao(endereco);
  std::string texto;
  for (const auto& tabela : sessao->Consulta("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", {})) {
    std::string colunas;
    for (const auto& c : sessao->Consulta("SELECT name FROM pragma_table_info(?)", {tabela.Texto(0)}))
      if (c.Texto(0) != "senha_sal" && c.Texto(0) != "senha_hash")
        colunas += (colunas.empty() ? "" : ", ") + c.Texto(0);
    texto += "== " + tabela.Texto(0) + "\n" +
             Linhas(*sessao, "SELECT " + colunas + " FROM " + tabela.Texto(0) + " ORDER BY " + colunas) + "\n";
  }
  return texto;
}

// The demonstration company, made once for the suite as company "DEMO".
struct EmpresaDemo {
  PastaTemporaria pasta;
  std::string endereco = "sqlite:" + pasta.Caminho("demo.db");
  bool criada = (cli::CriaEmpresaDemo(endereco, {}), true);
  RegistroTemporario registro{"[SOFTWARE\\ZT Redudeva\\Empresas\\DEMO]\nBaseDados=" + endereco + "\n"};
  ~EmpresaDemo() { CPoolSessoes::Instancia().Descarta(endereco); }
};

class MovimentoDemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_demo = std::make_unique<EmpresaDemo>(); }
  static void TearDownTestSuite() { s_demo.reset(); }
  static inline std::unique_ptr<EmpresaDemo> s_demo;
};

// Day by day for every ECF: the reduction equals what the ECF sums from
// the cupons read back; COO (cupons, the document log and the reductions)
// and CCF count up without a gap; CRZ counts up by one, CRO never falls;
// the grand total carries; what each cupom received less the change and
// the cash deductions is its total.
TEST_F(MovimentoDemo, CadaECFGuardaOMesComoAMemoriaDoECF) {
  CConexaoEmissora emissoras;
  CConexaoECSCX caixa;
  ASSERT_EQ(emissoras.Inicializa("DEMO", 1, 0), com::S_OK);
  ASSERT_EQ(caixa.Inicializa("DEMO", 1, 0), com::S_OK);
  std::uint16_t quantidade = 0;
  std::vector<REG_EMISSORPS> lista;
  ASSERT_EQ(emissoras.Lista(&quantidade, &lista), com::S_OK);
  ASSERT_EQ(quantidade, 9);

  long long reducoes = 0, cupons = 0;
  for (const auto& ecf : lista) {
    SCOPED_TRACE("ECF " + std::to_string(ecf.Numero));
    std::vector<REG_EMISSOR_ALIQUOTA> tabela;
    ASSERT_EQ(emissoras.LeAliquotas(ecf.TabelaAliquotas, &tabela), com::S_OK);
    std::map<std::uint32_t, int> coos;                 // COO: documents that took it
    std::map<std::uint32_t, std::pair<int, int>> log;  // COO: type and date
    ASSERT_EQ(caixa.PercorreDocumentos(ecf.Numero, CodificaDia(1, 11, 2026), CodificaDia(30, 11, 2026),
                                       [&](const REG_DOCUMENTO_ECFPS& d) {
                                         ++coos[d.COO];
                                         log[d.COO] = {d.Tipo, d.Data};
                                         return true;
                                       }),
              com::S_OK);
    std::uint32_t ultimoCCF = 0, ultimoCRZ = 0, ultimoCRO = 0, cooReducaoAnterior = 0;
    std::int64_t grandeTotal = -1;
    for (NumeroDia dia = 1; dia <= 30; ++dia) {
      const NumeroDia data = CodificaDia(dia, 11, 2026);
      impressora::CApuracaoReducaoZ apuracao(ecf.Numero, data, tabela);
      std::uint32_t maiorCOO = 0;
      int documentos = 0;
      auto porCupom = [&](const REG_EC_CXPS& c, const std::vector<REG_EC_CX_CIPS>& itens,
                          const std::vector<REG_EC_CX_PAGAMENTOPS>& pagamentos) {
        ++documentos;
        apuracao.AcumulaCupom(c, itens);
        // The ECF truncates quantity times price to the cent.
        for (const auto& i : itens) {
          const auto bruto = i.Quantidade.int64 * i.ValorUnitario.int64 / 10000;
          EXPECT_EQ(i.ValorTotal.int64, bruto - bruto % 100 - i.Desconto.int64) << "cupom " << c.Id << " " << i.Item;
        }
        std::int64_t recebido = 0, deduzido = 0;
        for (const auto& p : pagamentos) (p.Forma >= 250 ? deduzido : recebido) += p.Valor.int64;
        EXPECT_EQ(recebido - deduzido, c.Total.int64) << "cupom " << c.Id;
        if (c.Status == QMX_STATUS_NOTA_CONSUMIDOR) return true;
        ++coos[c.COO];
        maiorCOO = std::max(maiorCOO, c.COO);
        EXPECT_EQ(c.CCF, ultimoCCF ? ultimoCCF + 1 : c.CCF) << "cupom " << c.Id;
        ultimoCCF = c.CCF;
        return true;
      };
      ASSERT_EQ(caixa.PercorreCupons(ecf.Numero, data, data, porCupom), com::S_OK);
      cupons += documentos;
      REG_REDUCAO_ZPS z{};
      std::vector<REG_REDUCAO_Z_ALIQUOTAPS> aliquotas;
      std::vector<REG_TOTALIZADOR_NAO_FISCALPS> naoFiscais;
      const auto lida = caixa.LeReducaoZ(ecf.Numero, data, &z, &aliquotas, &naoFiscais);
      if (lida == QMX_E_REGISTRO_INEXISTENTE) {
        EXPECT_EQ(documentos, 0) << "dia " << dia;
        continue;
      }
      ASSERT_EQ(lida, com::S_OK);
      ++reducoes;
      if (grandeTotal < 0) grandeTotal = z.GrandeTotal.int64 - z.VendaBruta.int64;
      const auto apurada = apuracao.Fecha(z.CRZ, z.CRO, z.COOFinal, CY{grandeTotal}, z.DataEmissao, z.HoraEmissao);
      EXPECT_EQ(Texto(z, aliquotas), Texto(apurada.reducao, apurada.aliquotas)) << "dia " << dia;
      grandeTotal = z.GrandeTotal.int64;
      EXPECT_EQ(z.CRZ, ultimoCRZ ? ultimoCRZ + 1 : z.CRZ) << "dia " << dia;
      EXPECT_TRUE(z.CRO == ultimoCRO || z.CRO == ultimoCRO + 1 || !ultimoCRO) << "dia " << dia;
      EXPECT_GT(z.COOFinal, maiorCOO) << "dia " << dia;
      EXPECT_GT(maiorCOO ? maiorCOO : z.COOFinal, cooReducaoAnterior) << "dia " << dia;
      EXPECT_EQ(log[z.COOFinal], std::make_pair(8, static_cast<int>(z.DataEmissao))) << "dia " << dia;
      EXPECT_FALSE(naoFiscais.empty()) << "dia " << dia;
      ultimoCRZ = z.CRZ;
      ultimoCRO = z.CRO;
      cooReducaoAnterior = z.COOFinal;
    }
    // Each COO taken by exactly one document (the reduction's by its log
    // entry), from the first to the last.
    std::uint32_t esperado = coos.begin()->first;
    for (const auto& [coo, vezes] : coos) {
      EXPECT_EQ(coo, esperado);
      EXPECT_EQ(vezes, 1) << "COO " << coo;
      esperado = coo + 1;
    }
  }
  EXPECT_EQ(reducoes, 240);
  EXPECT_EQ(cupons, 10645);
}

// Every kind of record the files treat apart is there, in the numbers of
// the census beside the tests (a description, a statement and its rows,
// each case a paragraph); a second run writes the very same rows; the
// login that the demonstration shows opens the authorization.
TEST_F(MovimentoDemo, TemCadaTipoDeRegistroESaiIgualEmCadaExecucao) {
  std::istringstream censo(PastaTemporaria::Le(QMX_FONTES_TESTES "/cli/dados/censo-demo.txt"));
  auto sessao = AbreSessao(s_demo->endereco);
  int casos = 0;
  for (std::string descricao, sql, esperado, vazia; std::getline(censo, descricao) && std::getline(censo, sql) &&
                                                    std::getline(censo, esperado);
       std::getline(censo, vazia), ++casos)
    EXPECT_EQ(Linhas(*sessao, sql), esperado) << descricao;
  EXPECT_EQ(casos, 25);

  const std::string outra = "sqlite:" + s_demo->pasta.Caminho("outra.db");
  cli::CriaEmpresaDemo(outra, {});
  const std::string a = Despejo(s_demo->endereco), b = Despejo(outra);
  const auto diferenca = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
  EXPECT_EQ(a.size(), b.size());
  EXPECT_EQ(a.substr(static_cast<std::size_t>(diferenca), 200), b.substr(static_cast<std::size_t>(diferenca), 200));

  CConexaoUsuario usuarios;
  ASSERT_EQ(usuarios.Inicializa("DEMO", 1, 0), com::S_OK);
  std::uint16_t codigo = 99;
  ASSERT_EQ(usuarios.Autentica(cli::kLoginDemo, cli::kSenhaDemo, &codigo), com::S_OK);
  EXPECT_EQ(codigo, 1);
  ASSERT_EQ(usuarios.Autentica(cli::kLoginDemo, "avila2025", &codigo), com::S_OK);
  EXPECT_EQ(codigo, 0);
}

}  // namespace

#endif
