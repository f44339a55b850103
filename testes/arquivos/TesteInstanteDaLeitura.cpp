// A till closes an ECF's day (its cupons, a DAV and the Z reduction, in one
// transaction on a connection of its own) at every data step of a
// generation, a new ECF-day each time. Each file reads its whole period at
// one instant of the database, so the file made is the store's just before
// that closing or just after it, never a mix of both, and it passes the
// published layouts' checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "apoio/Motores.h"
#include "apoio/MovimentoTeste.h"
#include "arquivos/ValidacaoArquivo.h"
#include "arquivos/efd/QMXRegistrosEFD.h"
#include "arquivos/efd/QMXVendaPeriodo.h"
#include "arquivos/sintegra/QMXSintegra.h"
#include "plataforma/calendario/DataCodificada.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

using C = CenarioFiscal;

class InstanteDaLeitura : public NosDoisMotores {
 protected:
  // The only file the run left in the company's folder, without its EAD
  // line; empty when there is none.
  static std::string Feito(const C& c) {
    const auto arquivos = C::Arquivos(c.PastaArquivos());
    EXPECT_EQ(arquivos.size(), 1u);
    if (arquivos.size() != 1) return {};
    const std::string texto = C::Le(arquivos[0]);
    return texto.substr(0, texto.rfind("EAD"));
  }

  template <class TDialogo>
  void Confere(const std::string& roteiro) {
    C c(GetParam());
    c.Movimento();
    ASSERT_EQ(c.Executa<TDialogo>(roteiro), ui::IDOK) << testing::PrintToString(c.host.Erros());
    std::string antes = Feito(c);

    std::filesystem::remove_all(c.PastaArquivos());
    int fechamentos = 0, depoisDoFechamento = 0;
    bool noPeriodo = true;
    c.EscritaEmCadaPasso<TDialogo>(
        roteiro,
        [&] {
          // ECFs 1 to 3 in turn, from the 6th of November on.
          const std::uint16_t ecf = static_cast<std::uint16_t>(1 + fechamentos % 3);
          const NumeroDia dia = CodificaDia(6, 11, 2026) + fechamentos / 3;
          noPeriodo = dia <= CodificaDia(30, 11, 2026);
          c.m.Cupom(ecf, dia).Item(10, 1 + fechamentos % 4, 12.5).Item(30, 1, 4.5);
          c.m.Cupom(ecf, dia).Item(20, 2, 3.99).Item(50, 1, 8.9, 0.5);
          c.m.Dav(5000 + static_cast<std::uint32_t>(fechamentos), ecf, dia).Item(10, 1, 12.5);
          c.m.ReducaoZ(ecf, dia);
          c.m.Grava();
          ++fechamentos;
        },
        [] {},
        [&](int passo, int resultado) {
          ASSERT_EQ(resultado, ui::IDOK) << passo;
          const std::string durante = Feito(c);
          const auto validacao = validacao::ValidaConteudo(durante);
          for (const auto& p : validacao.problemas)
            EXPECT_NE(p.gravidade, validacao::Gravidade::Erro) << passo << ": " << p.regra << " " << p.mensagem;
          // The same file made again, nobody writing: the store after the
          // closing.
          std::filesystem::remove_all(c.PastaArquivos());
          c.host.Limpa();
          ASSERT_EQ(c.Executa<TDialogo>(roteiro), ui::IDOK) << passo;
          const std::string depois = Feito(c);
          if (noPeriodo) {
            EXPECT_NE(depois, antes) << passo << ": the closing changed nothing in the file";
          }
          EXPECT_TRUE(durante == antes || durante == depois) << "step " << passo << ": a mix of two instants\n"
                                                             << durante;
          depoisDoFechamento += durante == depois;
          antes = depois;
        },
        // Every step on SQLite; on PostgreSQL, whose runs are slower, one
        // step in four.
        GetParam() == MotorTeste::Postgres ? 4 : 1);
    // The closings made before the reading began are in their files.
    EXPECT_GT(depoisDoFechamento, 0);
    EXPECT_LT(depoisDoFechamento, fechamentos);
  }
};

TEST_P(InstanteDaLeitura, Sintegra) {
  Confere<CQMXSintegra>(
      "dialogo 14028\ndigita 13039 1\ndigita 13041 01/11/2026\ndigita 13042 30/11/2026\nseleciona 13044 2\n"
      "clica 1\n");
}

TEST_P(InstanteDaLeitura, VendaDoPeriodo) {
  Confere<CQMXVendaPeriodo>(
      "dialogo 14030\ndigita 13055 1\ndigita 13053 01/11/2026\ndigita 13054 30/11/2026\nclica 13066\nclica 1\n");
}

TEST_P(InstanteDaLeitura, ExtratoSped) {
  Confere<CQMXRegistrosEFD>(
      "dialogo 14029\ndigita 13049 1\ndigita 13050 0\ndigita 13048 01/11/2026\ndigita 13067 30/11/2026\n"
      "clica 1\n");
}

QMX_NOS_DOIS_MOTORES(InstanteDaLeitura);

}  // namespace
