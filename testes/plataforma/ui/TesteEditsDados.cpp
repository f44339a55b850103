#include <gtest/gtest.h>

#include "apoio/EmpresaTeste.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/EmissoraEdit.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/ui/FilialEdit.h"
#include "plataforma/ui/ModuloRecursos.h"
#include "plataforma/ui/ProdutoEditEx.h"
#include "plataforma/ui/TabPrecoEdit.h"

using namespace qmx;
using namespace qmx::testes;
using namespace qmx::ui;

namespace {

// The branch/ECF selection template, with the two edits bound to a test
// company the way the selection dialog binds them.
class EditsDados : public ::testing::Test {
 protected:
  void SetUp() override {
    empresa.Filial(1, "Loja Centro", "SP", "Razão 1");
    empresa.Filial(2, "Loja Uberlândia", "MG", "Razão 2");
    empresa.Emissora(1, 1, "EMULADOR", "Caixa Centro 1");
    empresa.Emissora(3, 2, "EP1011", "Caixa Uberlândia");
    ASSERT_TRUE(dialogo.Cria());
    filial.Inicializa(empresa.Chave(), 1, 0);
    filial.SubclassDlgItem(13036, &dialogo);
    filial.SetLabel(13037);
    emissora.Inicializa(empresa.Chave(), 1, 0);
    emissora.SubclassDlgItem(13035, &dialogo);
    emissora.SetLabel(13038);
  }

  EmpresaTeste empresa;
  TrocaRecursos recursos{ModuloBiblioteca()};
  CDialogo dialogo{14027};
  CFilialEdit filial;
  CEmissoraEdit emissora;
};

TEST_F(EditsDados, FilialMostraONomeFantasiaEZeroConformeAConfiguracao) {
  ASSERT_EQ(filial.CriaLink(), com::S_OK);
  dialogo.Digita(13036, " 2 ");
  EXPECT_EQ(filial.GetFilial(), 2);
  EXPECT_EQ(dialogo.GetDlgItemText(13037), "Loja Uberl\xE2ndia");
  EXPECT_STREQ(filial.GetRegistro().UF, "MG");

  filial.SetFilial(0);
  EXPECT_EQ(filial.GetFilial(), 0);
  EXPECT_EQ(dialogo.GetDlgItemText(13037), "Todas as Filiais");
  EXPECT_TRUE(filial.Atualiza());
  filial.SetFilialZeroComoTodas(false);
  EXPECT_FALSE(filial.Atualiza());
  EXPECT_EQ(dialogo.GetDlgItemText(13037), "");

  for (const char* invalido : {"9", "abc", "70000", ""}) {
    dialogo.Digita(13036, invalido);
    EXPECT_EQ(filial.GetFilial(), 0) << invalido;
  }
  EXPECT_TRUE(filial.GetRegistro().NomeFantasia[0] == '\0');
}

TEST_F(EditsDados, EmissoraSoAceitaECFDaFilialVinculada) {
  ASSERT_EQ(emissora.CriaLink(), com::S_OK);
  emissora.SetFilial(1);
  emissora.SetEmissora(1);
  EXPECT_EQ(emissora.GetEmissora(), 1);
  EXPECT_EQ(dialogo.GetDlgItemText(13038), "Caixa Centro 1");
  EXPECT_STREQ(emissora.GetRegistro().NumeroSerie, "EMULADOR");

  // (Another branch's ECF is refused in SelecaoFilialECF.ECFDeOutraFilialNaoVale.)
  emissora.SetFilial(0);
  dialogo.Digita(13035, "1");
  EXPECT_EQ(emissora.GetEmissora(), 1);
}

TEST_F(EditsDados, SemLigacaoOuComEmpresaAusente) {
  // Never linked: the typed number is taken as is.
  dialogo.Digita(13036, "7");
  EXPECT_EQ(filial.GetFilial(), 7);
  CFilialEdit semEmpresa;
  semEmpresa.Inicializa("NAO-HA", 1, 0);
  semEmpresa.SubclassDlgItem(13036, &dialogo);
  EXPECT_EQ(semEmpresa.CriaLink(), com::RPC_S_SERVER_UNAVAILABLE);
  EXPECT_THROW(semEmpresa.SubclassDlgItem(99999, &dialogo), ControleInexistente);
}

}  // namespace
