// The four passes on days past the end of 2026, on both engines, with the
// clock on 10 June 2027: each day reaches the back office as itself, from
// the 16-bit day number of the parameters (5 June 2027 is 1), and the
// accounting block follows month codes across the year.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "apoio/Motores.h"
#include "apoio/RelogioSimulado.h"
#include "integracao/EmpresaIntegracao.h"
#include "integracao/QMXIntegracao.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

using Linhas = std::vector<std::string>;

const NumeroDia k31Dez = CodificaDia(31, 12, 2026);
const NumeroDia k1Jan = CodificaDia(1, 1, 2027);
const NumeroDia k5Jun = CodificaDia(5, 6, 2027);

class IntegracaoAlemDe2026 : public NosDoisMotores {
 protected:
  // On each day, a cupom paid in cash and one sold on credit, due thirty
  // days later (into 2027 for the last day of 2026).
  void SetUp() override {
    NosDoisMotores::SetUp();
    if (IsSkipped()) return;
    e = std::make_unique<EmpresaIntegracao>(GetParam());
    e->empresa.AcrescentaRegistro(RelogioSimulado("10/06/2027", "10:00:00"));
    for (NumeroDia dia : {k31Dez, k1Jan, k5Jun}) {
      e->movimento.Cupom(1, dia).Item(10, 2, 12.50).Pagamento(1, 25);
      auto& prazo = e->movimento.Cupom(1, dia).Item(10, 1, 12.50).Pagamento(2, 12.50).Parcela(12.50, 6, dia + 30);
      prazo.registro.CondicaoPagamento = 2;
    }
    e->movimento.Grava();
  }

  // The four passes of a day, each complete.
  void Integra(NumeroDia dia) {
    const auto p = EmpresaIntegracao::Parametros(dia, 1);
    EXPECT_EQ(QMX_ProcIntegraES(p), kIntegracaoCompleta) << TextoData(dia, true);
    EXPECT_EQ(QMX_ProcIntegraCN(p), kIntegracaoCompleta) << TextoData(dia, true);
    EXPECT_EQ(QMX_ProcIntegraEF(p), kIntegracaoCompleta) << TextoData(dia, true);
    EXPECT_EQ(QMX_ProcIntegraFN(p), kIntegracaoCompleta) << TextoData(dia, true);
  }
  std::vector<std::string> Datas(const std::string& tabela, const std::string& coluna = "data") {
    std::vector<std::string> datas;
    for (const auto& linha : e->Linhas("SELECT DISTINCT " + coluna + " FROM " + tabela + " ORDER BY " + coluna))
      datas.push_back(TextoData(std::stoi(linha), true));
    return datas;
  }

  std::unique_ptr<EmpresaIntegracao> e;
};

TEST_P(IntegracaoAlemDe2026, CadaDiaChegaComoEleMesmo) {
  ASSERT_EQ(EmpresaIntegracao::Parametros(k5Jun, 1).nData, 1);
  for (NumeroDia dia : {k31Dez, k1Jan, k5Jun}) {
    e->LimpaLog();
    Integra(dia);
    EXPECT_EQ(e->LinhasLog().front(), "Verificando cupons fiscais emitidos no dia: " + TextoData(dia, true));
  }
  const Linhas dias{"31/12/2026", "01/01/2027", "05/06/2027"};
  for (const char* tabela : {"movimento_estoque", "lancamento_contabil", "livro_fiscal", "titulo_receber", "chave_integracao"})
    EXPECT_EQ(Datas(tabela), dias) << tabela;
  // Cash falls due on its day, the installments thirty days on, past the
  // year's end too.
  EXPECT_EQ(Datas("titulo_receber", "vencimento"),
            (Linhas{"31/12/2026", "01/01/2027", "30/01/2027", "31/01/2027", "05/06/2027", "05/07/2027"}));
  // Run again, a day replaces what it wrote before and leaves the others.
  const auto antes = e->Conta("lancamento_contabil");
  Integra(k1Jan);
  EXPECT_EQ(e->Conta("lancamento_contabil"), antes);
}

// January 2027 closed for accounting stops the first of January and lets
// the last of December through.
TEST_P(IntegracaoAlemDe2026, MesBloqueadoDepoisDaVirada) {
  e->empresa.Gravador().Sessao().Executa(
      "UPDATE filial SET mes_bloqueado_contabil = " + std::to_string(CodificaMes(1, 2027)), {});
  e->LimpaLog();
  EXPECT_EQ(QMX_ProcIntegraCN(EmpresaIntegracao::Parametros(k1Jan, 1)), kIntegracaoInterrompida);
  EXPECT_EQ(e->LinhasLog(),
            (Linhas{"Integrando com Contabilidade", "Bloqueio de integração/lançamento contábil 01/27"}));
  EXPECT_EQ(QMX_ProcIntegraCN(EmpresaIntegracao::Parametros(k31Dez, 1)), kIntegracaoCompleta);
}

QMX_NOS_DOIS_MOTORES(IntegracaoAlemDe2026);

}  // namespace
