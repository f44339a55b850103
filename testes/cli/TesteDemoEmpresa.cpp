#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "apoio/PastaTemporaria.h"
#include "apoio/ProgramaQmx.h"
#include "apoio/RegistroTemporario.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/PoolSessoes.h"
#include "plataforma/registro/Registro.h"

using namespace qmx;
using namespace qmx::dados;
using namespace qmx::testes;

namespace {

#ifdef QMX_PROGRAMA
// The demonstration builds its company from nothing, and again over an
// earlier one; the library reads it through the connection classes.
TEST(DemoEmpresa, ConstroiAEmpresaDoNadaComOTamanhoPedido) {
  PastaTemporaria pasta;
  const std::string comando = std::string(QMX_PROGRAMA) + " demo --pasta '" + pasta.Caminho("demo") + "'";
  ASSERT_EQ(std::system((comando + " --tamanho 3 > /dev/null 2>&1").c_str()), 0);
  ASSERT_EQ(std::system((comando + " > /dev/null 2>&1").c_str()), 0);  // size 1 over size 3
  RegistroTemporario registro(PastaTemporaria::Le(pasta.Caminho("demo/registro.ini")));

  CConexaoEmissora emissoras;
  ASSERT_EQ(emissoras.Inicializa("DEMO", 1, 0), com::S_OK);
  std::uint16_t quantidade = 0;
  std::vector<REG_EMISSORPS> lista;
  ASSERT_EQ(emissoras.Lista(&quantidade, &lista), com::S_OK);
  ASSERT_EQ(quantidade, 9);
  EXPECT_EQ(std::string(lista[0].NumeroSerie),
            registro::Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal", "NumeroSerie"));

  for (const auto& e : lista) EXPECT_EQ(e.QuantidadeAliquotas > 0, true);
  CPoolSessoes::Instancia().Descarta("sqlite:" + pasta.Caminho("demo/DEMO/empresa.db"));

  // The books of the whole month, every ECF of every branch: each day
  // reconciled on its own.
  const Execucao mes = Qmx("--registro '" + pasta.Caminho("demo/registro.ini") +
                           "' --empresa DEMO integra periodo --data-inicial 01/11/2026 --data-final 30/11/2026");
  EXPECT_EQ(mes.codigo, 0) << mes.saida;
  EXPECT_NE(mes.saida.find("239 dia(s) de ECF integrado(s); todos conferem"), std::string::npos) << mes.saida;
}

#endif

}  // namespace
