#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "apoio/PastaTemporaria.h"
#include "apoio/ProgramaQmx.h"
#include "apoio/RegistroTemporario.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/EnderecoBase.h"
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

  // Nota 4506 in Sintegra: each CFOP and rate line with its own items and
  // their IPI (the cake's 238,50 and its 11,93 of IPI), the services' line
  // without any of it.
  std::string sintegra;
  for (const auto& a : std::filesystem::directory_iterator(pasta.Caminho("demo/DEMO/Arquivos-Eletronicos"))) {
    const std::string texto = PastaTemporaria::Le(a.path().string());
    if (texto.rfind("10", 0) == 0) sintegra = texto;
  }
  std::vector<std::string> nota4506;
  for (std::size_t i = 0; (i = sintegra.find("\r\n50", i)) != std::string::npos; ++i)
    if (sintegra.compare(i + 2 + 45, 6, "004506") == 0)
      nota4506.push_back(sintegra.substr(i + 2 + 51, 4) + " " + sintegra.substr(i + 2 + 56, 13) + " " +
                         sintegra.substr(i + 2 + 108, 13));
  EXPECT_EQ(nota4506, (std::vector<std::string>{"5101 0000000025043 0000000001193",
                                                "5102 0000000047960 0000000000000",
                                                "5933 0000000006800 0000000006800"}));

  // The books of the whole month, every ECF of every branch: each day
  // reconciled on its own.
  const Execucao mes = Qmx("--registro '" + pasta.Caminho("demo/registro.ini") +
                           "' --empresa DEMO integra periodo --data-inicial 01/11/2026 --data-final 30/11/2026");
  EXPECT_EQ(mes.codigo, 0) << mes.saida;
  EXPECT_NE(mes.saida.find("239 dia(s) de ECF integrado(s); todos conferem"), std::string::npos) << mes.saida;
}

#endif

}  // namespace
