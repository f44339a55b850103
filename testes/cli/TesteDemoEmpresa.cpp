#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "apoio/PastaTemporaria.h"
#include "apoio/ProgramaQmx.h"
#include "apoio/RegistroTemporario.h"
#include "apoio/RelogioSimulado.h"
#include "apoio/VerificaEAD.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoMunicipio.h"
#include "plataforma/dados/ConexaoUsuario.h"
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

  CConexaoFilial filiais;
  CConexaoMunicipio municipios;
  ASSERT_EQ(filiais.Inicializa("DEMO", 1, 0, false), com::S_OK);
  ASSERT_EQ(municipios.Inicializa("DEMO", 1, 0), com::S_OK);
  REG_FILIALPS f1{}, f2{};
  ASSERT_EQ(filiais.Le(1, &f1), com::S_OK);
  ASSERT_EQ(filiais.Le(2, &f2), com::S_OK);
  EXPECT_EQ(filiais.Le(7, &f2), QMX_E_REGISTRO_INEXISTENTE);
  EXPECT_STRNE(f1.UF, f2.UF);
  REG_MUNICIPIO_PS m{};
  ASSERT_EQ(municipios.Le(static_cast<std::uint16_t>(f2.Municipio), &m), com::S_OK);
  EXPECT_EQ(m.CodigoIBGE / 100000, 31);  // a municipality of Minas Gerais
  for (const auto& e : lista) EXPECT_EQ(e.QuantidadeAliquotas > 0, true);

  CConexaoUsuario usuarios;
  ASSERT_EQ(usuarios.Inicializa("DEMO", 1, 0), com::S_OK);
  REG_USUARIOPS u{};
  ASSERT_EQ(usuarios.Le(1, &u), com::S_OK);
  EXPECT_EQ(u.Filiais[1] + u.Filiais[2], 2);
  filiais.Finaliza();
  CPoolSessoes::Instancia().Descarta("sqlite:" + pasta.Caminho("demo/DEMO/empresa.db"));
}

// With the machine's clock on 15 February 2031 the demonstration takes the
// month before, January 2031, whose days are past the 16-bit wrap: every
// file carries that month (or today) and its signature holds, and the
// integration and the 16-bit texts name the right days.
TEST(DemoEmpresa, MesAnteriorAoRelogioDepoisDe2026) {
  PastaTemporaria pasta;
  RegistroTemporario registro(RelogioSimulado("15/02/2031", "10:00:00"));
  const Execucao demo = Qmx("demo --pasta '" + pasta.Caminho("demo") + "'");
  ASSERT_EQ(demo.codigo, 0) << demo.saida;
  for (const char* trecho : {"Movimento de 01/01/2031 a 31/01/2031", "Arquivos eletr\xC3\xB4nicos de 01/2031",
                             "Integra\xC3\xA7\xC3\xA3o de 02/01/2031", "dia 1: 05/06/2027",
                             "emitidos no dia: 02/01/2031", ": 15/02/2031\n"})
    EXPECT_NE(demo.saida.find(trecho), std::string::npos) << trecho << "\n" << demo.saida;
  // What each file must carry, by the start of its name.
  const std::map<std::string, std::string> conteudo = {
      {"DAVs-QMX0000000000000001-01012031-31012031", "20310102"},
      {"Estoque150231", "20310215"},
      {"QMX0000000000000001 _01012031_31012031", "2031010120310131"},
      {"QMX1 _1131_31131", "2031010120310131"},
      {"TabelaProdutos", "P1"},
      {"TorvoECF-SpedFiscal-012031", "|01012031|31012031|"},
      {"ZTR0122026", "01012031"},
      {"032101", "31012031.txt"}};
  int arquivos = 0;
  for (const auto& a : std::filesystem::directory_iterator(pasta.Caminho("demo/DEMO/Arquivos-Eletronicos"))) {
    ++arquivos;
    const std::string nome = a.path().filename().string();
    const std::string texto = PastaTemporaria::Le(a.path().string());
    std::string esperado;
    for (const auto& [inicio, trecho] : conteudo)
      if (nome.rfind(inicio, 0) == 0) esperado = trecho;
    ASSERT_FALSE(esperado.empty()) << nome;
    EXPECT_NE((nome + texto).find(esperado), std::string::npos) << nome;
    if (nome.rfind("TorvoECF-SpedFiscal", 0) != 0) EXPECT_TRUE(AssinaturaConfereNaLinhaDeComando(texto)) << nome;
  }
  EXPECT_EQ(arquivos, 9);
}
#endif

}  // namespace
