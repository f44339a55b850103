// The demonstration company's month of movement, read back through the
// library's own connection classes: it must hold together as an ECF's
// memory does, contain every kind of record the files treat apart, and be
// the same on every run.
#include <gtest/gtest.h>

#ifdef QMX_DEMO

#include <algorithm>
#include <map>
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

class MovimentoDemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_pasta = new PastaTemporaria;
    s_endereco = "sqlite:" + s_pasta->Caminho("demo.db");
    cli::CriaEmpresaDemo(s_endereco, {});
    s_registro = new RegistroTemporario("[SOFTWARE\\ZT Redudeva\\Empresas\\DEMO]\nBaseDados=" + s_endereco + "\n");
  }
  static void TearDownTestSuite() {
    CPoolSessoes::Instancia().Descarta(s_endereco);
    delete s_registro;
    delete s_pasta;
  }
  static PastaTemporaria* s_pasta;
  static RegistroTemporario* s_registro;
  static std::string s_endereco;
};

PastaTemporaria* MovimentoDemo::s_pasta = nullptr;
RegistroTemporario* MovimentoDemo::s_registro = nullptr;
std::string MovimentoDemo::s_endereco;

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
    for (std::uint16_t dia = 1; dia <= 30; ++dia) {
      const std::uint16_t data = CodificaDia(dia, 11, 2026);
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

// Every kind of record the files treat apart is there, in the numbers
// pinned below; a second run writes the very same rows; the login that the
// demonstration shows opens the authorization.
TEST_F(MovimentoDemo, TemCadaTipoDeRegistroESaiIgualEmCadaExecucao) {
  struct Tipo {
    const char* descricao;
    const char* sql;
    const char* esperado;
  };
  const Tipo kTipos[] = {
      {"filiais por UF", "SELECT uf, COUNT(*) FROM filial GROUP BY 1 ORDER BY 1", "DF|1;MG|1;PB|1;RJ|1;SC|1;SP|1"},
      {"ECFs por código de modelo", "SELECT codigo_modelo, COUNT(*) FROM emissora GROUP BY 1 ORDER BY 1",
       "30509|1;31004|1;32101|1;80103|1;80502|1;150404|1;381502|1;381703|1;381802|1"},
      {"produtos por tributação na filial 1",
       "SELECT tributacao, aliquota_icms, COUNT(*) FROM produto_filial WHERE filial = 1 GROUP BY 1, 2 ORDER BY 1, 2",
       "F|0|8;I|0|5;N|0|2;T|700|8;T|1200|5;T|1800|10;T|2500|2"},
      {"produtos com ?, de produção, inativos",
       "SELECT SUM(unidade_interrogacao), SUM(producao), SUM(inativo), SUM(reducao_base > 0) FROM produto", "3|4|1|1"},
      {"PIS/COFINS que terminam no mês",
       "SELECT produto, tipo, aliquota FROM produto_pis_cofins WHERE fim BETWEEN (SELECT MIN(data) FROM reducao_z) "
       "AND (SELECT MAX(data) FROM reducao_z) ORDER BY 1, 2",
       "4|1|165;4|2|760;19|1|165;19|2|760"},
      {"tabelas de preço", "SELECT tipo, tabela, COUNT(*) FROM tabela_preco_item GROUP BY 1, 2 ORDER BY 1, 2",
       "1|1|39;1|2|18;2|1|4"},
      {"itens de cupom por tributação",
       "SELECT tributacao, aliquota, servico, COUNT(*) FROM cupom_item GROUP BY 1, 2, 3 ORDER BY 1, 2, 3",
       "F|0|0|10197;I|0|0|9349;N|0|0|793;S|200|1|196;S|500|1|461;T|700|0|14156;T|1200|0|4655;T|1800|0|6967;T|2500|0|"
       "440"},
      {"itens com desconto, cancelados", "SELECT SUM(desconto > 0), SUM(cancelado) FROM cupom_item", "1973|633"},
      {"cupons por situação e origem",
       "SELECT status, cancelado, origem, COUNT(*), SUM(cliente > 0), SUM(documento_cliente <> '') FROM cupom "
       "GROUP BY 1, 2, 3 ORDER BY 1, 2, 3",
       "0|0|0|10436|339|851;0|0|1|122|62|0;0|1|0|82|1|8;4|0|0|3|0|0;4|1|0|2|0|0"},
      {"notas de consumidor",
       "SELECT emissora, numero_inicial, numero_final, cancelado FROM cupom WHERE status = 4 "
       "ORDER BY 2",
       "5|101|118|0;5|119|121|1;5|122|140|0;2|501|526|0;2|527|529|1"},
      {"pagamentos por meio", "SELECT forma, COUNT(*), SUM(gnf > 0) FROM cupom_pagamento GROUP BY 1 ORDER BY 1",
       "1|5734|0;2|1844|1844;3|3037|3037;4|438|0;252|121|0;253|581|0;255|3611|0"},
      {"parcelas por tipo de documento",
       "SELECT tipo_documento, COUNT(*), MAX(sequencia), MAX(vencimento) FROM cupom_parcela GROUP BY 1 ORDER BY 1",
       "10|3391|3|65380;11|190|2|65380"},
      {"notas por modelo e situação",
       "SELECT COALESCE(d.modelo, '-'), n.cancelada, n.inutilizada, n.denegada, n.codigo_tipo, COUNT(*), "
       "SUM(LENGTH(n.chave_nfe) = 44) FROM nota_fiscal n JOIN tipo_documento t ON t.codigo = n.tipo_documento "
       "LEFT JOIN documento_fiscal d ON d.codigo = t.documento_fiscal GROUP BY 1, 2, 3, 4, 5 ORDER BY 1, 2, 3, 4, 5",
       "-|0|0|0|0|1|0;01|0|0|0|0|13|0;01|0|0|0|12|1|0;04|0|0|0|0|1|0;1B|0|0|0|0|1|0;2D|0|0|0|0|1|0;55|0|0|0|0|10|10;55|"
       "0|0|0|30|1|1;55|0|0|1|0|1|1;55|0|1|0|0|1|0;55|1|0|0|0|1|1"},
      {"participantes das notas",
       "SELECT CASE WHEN c.codigo IS NULL THEN 'inexistente' WHEN c.estrangeiro = 1 THEN 'estrangeiro' "
       "WHEN c.inscricao_estadual = '' THEN 'sem IE' ELSE 'com IE' END, COUNT(*) FROM nota_fiscal n "
       "LEFT JOIN cfrt c ON c.codigo = n.participante GROUP BY 1 ORDER BY 1",
       "com IE|20;estrangeiro|1;inexistente|1;sem IE|10"},
      {"observações com quebra de linha",
       "SELECT COUNT(*) FROM nota_fiscal WHERE observacao LIKE '%' || char(13) || char(10) || '%'", "1"},
      {"itens de nota por tipo e CST de PIS",
       "SELECT servico, cst_pis, COUNT(*) FROM nota_fiscal_item GROUP BY 1, 2 ORDER BY 1, 2",
       "0|1|48;0|3|1;0|4|14;0|6|16;1|1|2"},
      {"pagamentos de notas", "SELECT forma, COUNT(*) FROM nota_fiscal_pagamento GROUP BY 1 ORDER BY 1",
       "1|14;2|1;5|14"},
      {"documentos do ECF por tipo",
       "SELECT tipo, COUNT(*), SUM(gnf > 0), SUM(grg > 0), SUM(cdc > 0) FROM documento_ecf GROUP BY 1 ORDER BY 1",
       "1|240|0|0|0;3|240|240|0|0;4|239|239|0|0;6|240|240|240|0;7|4881|4881|0|4881;8|240|0|0|0;9|82|0|0|0;13|193|193|"
       "193|0;14|120|120|120|0;20|69|69|0|0;31|239|0|0|0;38|189|189|189|0"},
      {"reduções por dias até a emissão: sem venda, CROs",
       "SELECT data_emissao - data, COUNT(*), SUM(venda_bruta = 0), COUNT(DISTINCT emissora * 100 + cro) "
       "FROM reducao_z GROUP BY 1 ORDER BY 1",
       "0|220|1|10;2|20|0|5"},
      {"totalizadores não fiscais", "SELECT codigo, COUNT(*) FROM reducao_z_nao_fiscal GROUP BY 1 ORDER BY 1",
       "1|69;253|239;254|240"},
      {"DAVs: sem itens, quitados",
       "SELECT COUNT(*), SUM(NOT EXISTS (SELECT 1 FROM dav_item i WHERE i.dav = d.id)), SUM(coo_cupom > 0) FROM dav d",
       "189|6|122"},
      {"itens de DAV por tributação",
       "SELECT tributacao, COUNT(*), SUM(cancelado), SUM(acrescimo > 0) FROM dav_item GROUP BY 1 ORDER BY 1",
       "F|111|3|2;I|113|5|3;N|8|2|0;R|9|0|0;T|311|17|13"},
      {"posições de estoque", "SELECT COUNT(*), SUM(quantidade < 0), COUNT(DISTINCT data) FROM estoque_posicao",
       "7440|388|31"},
      {"inventário", "SELECT data, COUNT(*), SUM(quantidade = 0) FROM estoque_inventario GROUP BY 1", "65349|240|15"},
      {"usuários com login", "SELECT login FROM usuario WHERE login <> '' ORDER BY 1", "antonio;julia;supervisor"},
  };
  auto sessao = AbreSessao(s_endereco);
  for (const auto& tipo : kTipos) EXPECT_EQ(Linhas(*sessao, tipo.sql), tipo.esperado) << tipo.descricao;

  const std::string outra = "sqlite:" + s_pasta->Caminho("outra.db");
  cli::CriaEmpresaDemo(outra, {});
  const std::string a = Despejo(s_endereco), b = Despejo(outra);
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
