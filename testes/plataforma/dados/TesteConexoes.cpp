#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "apoio/Motores.h"
#include "plataforma/dados/ConexaoECF.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoEstado.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ConexaoMunicipio.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/dados/ZTDadosInicializacao.h"

using namespace qmx;
using namespace qmx::dados;
using namespace qmx::testes;

namespace {

class ConexoesLeem : public TesteMotores {
 protected:
  void SetUp() override {
    TesteMotores::SetUp();
    if (!empresa) return;
    empresa->Gravador().Inicia();
    empresa->Estado(35, "SP", "São Paulo");
    empresa->Estado(31, "MG", "Minas Gerais");
    empresa->Municipio(7, "São José dos Campos", "SP", 3549904);
    empresa->Municipio(8, "Uberlândia", "MG", 3170206);
    empresa->Filial(1, "Loja Centro", "SP", "Comércio de Alimentos Ávila Ltda", 7);
    empresa->Filial(2, "Loja Uberlândia", "MG", "Comércio de Alimentos Ávila Ltda - Filial", 8);
    empresa->Emissora(1, 1, "EMULADOR");
    empresa->Emissora(2, 1, "BE091010100011200123");
    empresa->Emissora(3, 2, "EP101110000000013457");
    empresa->Usuario(1, "Supervisor", {1, 2, 999});
    empresa->Mestre(57000);
    empresa->MestreFilial(1, "SP");
    empresa->MestreFilial(2, "MG");
    empresa->ECFPorFilial(true);
    empresa->Gravador().Confirma();
  }
  const std::string& Chave() const { return empresa->Chave(); }
};

TEST_P(ConexoesLeem, RegistroInexistenteNaoMexeNoRegistro) {
  CConexaoFilial filial;
  ASSERT_EQ(filial.Inicializa(Chave(), 1, 0, false), com::S_OK);
  REG_FILIALPS f;
  std::memset(&f, 0x5A, sizeof f);
  EXPECT_EQ(filial.Le(77, &f), QMX_E_REGISTRO_INEXISTENTE);
  EXPECT_EQ(reinterpret_cast<unsigned char*>(&f)[10], 0x5A);
  wchar_t* razao = nullptr;
  EXPECT_EQ(filial.GetRazaoSocial(77, &razao), QMX_E_REGISTRO_INEXISTENTE);
  EXPECT_EQ(razao, nullptr);

  CConexaoEmissora emissora;
  ASSERT_EQ(emissora.Inicializa(Chave(), 1, 0), com::S_OK);
  REG_EMISSORPS e{};
  EXPECT_EQ(emissora.Le(0, &e), QMX_E_REGISTRO_INEXISTENTE);
  CConexaoMunicipio municipio;
  ASSERT_EQ(municipio.Inicializa(Chave(), 1, 0), com::S_OK);
  REG_MUNICIPIO_PS m{};
  EXPECT_EQ(municipio.Le(65535, &m), QMX_E_REGISTRO_INEXISTENTE);
  CConexaoUsuario usuario;
  ASSERT_EQ(usuario.Inicializa(Chave(), 1, 0), com::S_OK);
  REG_USUARIOPS u{};
  EXPECT_EQ(usuario.Le(2, &u), QMX_E_REGISTRO_INEXISTENTE);
  EXPECT_EQ(usuario.Le(1, nullptr), com::E_POINTER);
}

TEST_P(ConexoesLeem, EmissoraComSuaTabelaDeAliquotas) {
  REG_EMISSORPS e = empresa->Emissora(2, 1, "BE091010100011200123", "Caixa 2");
  e.TabelaAliquotas = 40;
  Copia(e.CfopEstoque, "5.102");
  e.Autonomo = 1;
  empresa->Gravador().GravaEmissora(e);
  // Table 41 is another one: not counted.
  for (const REG_EMISSOR_ALIQUOTA& a : {REG_EMISSOR_ALIQUOTA{40, 1, 'T', 1800}, {40, 2, 'T', 700}, {40, 3, 'S', 500},
                                        {41, 1, 'T', 1200}})
    empresa->Gravador().GravaAliquota(a);

  CConexaoEmissora conexao;
  ASSERT_EQ(conexao.Inicializa(Chave(), 1, 0), com::S_OK);
  REG_EMISSORPS lido{};
  ASSERT_EQ(conexao.GetInterface()->Le(2, &lido), com::S_OK);
  EXPECT_EQ(std::tuple(lido.Filial, std::string(lido.NumeroSerie), std::string(lido.Nome), std::string(lido.Tipo),
                       std::string(lido.CfopEstoque), lido.TabelaAliquotas, lido.QuantidadeAliquotas, lido.Autonomo),
            std::tuple(1, "BE091010100011200123", "Caixa 2", "ECF-IF", "5.102", 40, 3, 1));
}

TEST_P(ConexoesLeem, MestreParametrosDaFilialEModoDoECF) {
  CConexaoMestre conexao;
  ASSERT_EQ(conexao.Inicializa(Chave(), 1, 0), com::S_OK);
  REG_EC_MESTREPS m{};
  ASSERT_EQ(conexao.GetInterface()->Le(&m), com::S_OK);
  EXPECT_EQ(std::tuple(m.DataInicioSistema, m.NaturezaVenda), std::tuple(57000, 5102));
  REG_EC_MESTRE_FILIALPS p{};
  ASSERT_EQ(conexao.LeFilial(2, &p), com::S_OK);
  EXPECT_STREQ(p.UF, "MG");
  EXPECT_EQ(conexao.LeFilial(3, &p), QMX_E_REGISTRO_INEXISTENTE);
  bool autonomo = true;
  ASSERT_EQ(conexao.LeModoEmissora(1, &autonomo), com::S_OK);
  EXPECT_FALSE(autonomo);
}

TEST_P(ConexoesLeem, MunicipioEstadoEControleDeECF) {
  CConexaoMunicipio municipio;
  ASSERT_EQ(municipio.Inicializa(Chave(), 1, 0), com::S_OK);
  REG_MUNICIPIO_PS m{};
  ASSERT_EQ(municipio.GetInterface()->Le(8, &m), com::S_OK);
  EXPECT_EQ(std::tuple(m.CodigoIBGE, std::string(m.Nome), std::string(m.UF)), std::tuple(3170206, "Uberl\xE2ndia", "MG"));

  CConexaoEstado estado;
  ASSERT_EQ(estado.Inicializa(Chave(), 1, 0), com::S_OK);
  REG_ESTADOPS e{};
  ASSERT_EQ(estado.GetInterface()->Le(35, &e), com::S_OK);
  EXPECT_EQ(std::tuple(std::string(e.Sigla), std::string(e.Nome)), std::tuple("SP", "S\xE3o Paulo"));
  ASSERT_EQ(estado.LePorSigla("mg", &e), com::S_OK);
  EXPECT_EQ(e.Codigo, 31);

  REG_FILIALPS f = empresa->Filial(2, "Loja Uberlândia", "MG", "Razão", 8);
  f.HabilitadaECF = 0;
  empresa->Gravador().GravaFilial(f, "Razão");
  CConexaoECF ecf;
  ASSERT_EQ(ecf.Inicializa(Chave(), 1, 0), com::S_OK);
  std::int32_t respostas[] = {-5, -5};
  ASSERT_EQ(ecf.GetEhFilialHabilitada_ECF(1, &respostas[0]), com::S_OK);
  ASSERT_EQ(ecf.GetEhFilialHabilitada_ECF(2, &respostas[1]), com::S_OK);
  EXPECT_EQ(std::tuple(respostas[0], respostas[1]), std::tuple(0, 1));
  EXPECT_EQ(ecf.GetEhFilialHabilitada_ECF(3, &respostas[0]), QMX_E_REGISTRO_INEXISTENTE);
}

// Texts are stored as UTF-8 and handed out in Windows-1252; what
// Windows-1252 cannot hold becomes "?", and long texts are cut to the
// record's field.
TEST_P(ConexoesLeem, TextosWindows1252IdaEVolta) {
  const std::string acentos = "Ação Çedilha Ñandú € “aspas” – Øre ÿ";
  empresa->Filial(5, acentos, "SP", acentos);
  auto utf8 = empresa->Gravador().Sessao().Consulta("SELECT nome_fantasia FROM filial WHERE numero = 5", {});
  ASSERT_EQ(utf8.size(), 1u);
  EXPECT_EQ(utf8[0].Texto(0).substr(0, 6), "A\xC3\xA7\xC3\xA3o");  // stored as UTF-8

  // Characters outside Windows-1252, written by another program.
  empresa->Gravador().Sessao().Executa("UPDATE filial SET bairro = ? WHERE numero = 5",
                                       {std::string("\xC5\x81\xC3\xB3" "d\xC5\xBA \xF0\x9F\x98\x80!")});
  CConexaoFilial conexao;
  ASSERT_EQ(conexao.Inicializa(Chave(), 1, 0, false), com::S_OK);
  REG_FILIALPS f{};
  ASSERT_EQ(conexao.Le(5, &f), com::S_OK);
  EXPECT_EQ(std::string(f.NomeFantasia), acentos);
  EXPECT_STREQ(f.Bairro, "?\xF3" "d? ?!");

  const std::string longo(100, 'x');
  empresa->Filial(6, longo, "SP", "R");
  ASSERT_EQ(conexao.Le(6, &f), com::S_OK);
  EXPECT_EQ(std::string(f.NomeFantasia), std::string(60, 'x'));
}

QMX_NOS_DOIS_MOTORES(ConexoesLeem);

}  // namespace
