#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "plataforma/processo/Sistema.h"

namespace {

// The library as the point-of-sale program loads it.
class BibliotecaCarregada : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    try {
      s_biblioteca = std::make_unique<qmx::sistema::BibliotecaDinamica>(QMX_BIBLIOTECA);
    } catch (const std::exception& erro) {
      s_erro = erro.what();
    }
  }
  static void TearDownTestSuite() { s_biblioteca.reset(); }
  static void* dlsym(const std::unique_ptr<qmx::sistema::BibliotecaDinamica>& biblioteca, const char* nome) {
    return biblioteca->Simbolo(nome);
  }
  static std::unique_ptr<qmx::sistema::BibliotecaDinamica> s_biblioteca;
  static std::string s_erro;
};

std::unique_ptr<qmx::sistema::BibliotecaDinamica> BibliotecaCarregada::s_biblioteca;
std::string BibliotecaCarregada::s_erro;

const char* const kExportacoes[] = {
    "QMX_Inicializa", "QMX_Finaliza", "QMX_SetFilial", "QMX_SetDiretorio", "QMX_GetEmissora",
    "QMX_PegaECFAtivo", "QMX_DescricaoUltimoCOO", "QMX_Sintegra", "QMX_SpedFiscal", "QMX_VendaPeriodo",
    "QMX_LMF", "QMX_EspelhoMFD", "QMX_ArqMFD", "QMX_Movimentos", "QMX_MeiosPagamento", "QMX_DAVs",
    "QMX_TabProdutos", "QMX_Estoque", "QMX_TabIndiceTecnicoProducao", "QMX_BuscaHistorico",
    "QMX_IdentificacaoPAFECF", "QMX_GerarMD5_Arquivo", "QMX_GerarMD5_String", "QMX_GerarMD5_StringMD5",
    "QMX_GerarMD5_PAFECF", "QMX_GerarMD5_NotaFiscal", "QMX_AssinarArquivo", "QMX_MontaSenha",
    "QMX_DesmontaSenha", "QMX_Criptografar", "QMX_Descriptografar", "QMX_ProcIntegraCN", "QMX_ProcIntegraEF",
    "QMX_ProcIntegraES", "QMX_ProcIntegraFN", "QMX_IntegraCupomES",
    // functions with C++ names
    "_Z9MontaDataB5cxx11tb", "_Z9MontaHoraB5cxx11t", "_Z9MontaHoraB5cxx11ib", "_Z17CriptografarTextoPcih",
    "_Z12PegaECFAtivoRi", "_Z23ECImprimeParametrizacaott",
    // the authorization dialog's members
    "_ZN15CQMXAutorizacaoC1EPN3qmx2ui8CDialogoE", "_ZN15CQMXAutorizacaoD1Ev", "_ZN15CQMXAutorizacao10SetEmpresaEPKc",
    "_ZN15CQMXAutorizacao14DoDataExchangeEPN3qmx2ui13CDataExchangeE", "_ZN15CQMXAutorizacao12OnInitDialogEv",
    "_ZN15CQMXAutorizacao4OnOKEv", "_ZN15CQMXAutorizacao8OnCancelEv", "_ZN15CQMXAutorizacao7OnCloseEv",
    "_ZN15CQMXAutorizacao10OnHelpInfoEPN3qmx2ui8HELPINFOE", "_ZN15CQMXAutorizacao26UsuarioTemVinculoComFilialEt",
    // the posting base's history complement
    "_ZN16CContabilizaBase14SetComplementoEPKc",
};

TEST_F(BibliotecaCarregada, EncontraCadaExportacaoPeloNome) {
  ASSERT_NE(s_biblioteca, nullptr) << s_erro;
  for (const char* nome : kExportacoes) EXPECT_NE(dlsym(s_biblioteca, nome), nullptr) << nome;
}

TEST_F(BibliotecaCarregada, OContextoEDaBibliotecaCarregada) {
  ASSERT_NE(s_biblioteca, nullptr) << s_erro;
  using Inicializa = unsigned char (*)(const char*, unsigned short, int);
  using Descricao = unsigned char (*)(unsigned char, const char**);
  auto inicializa = reinterpret_cast<Inicializa>(dlsym(s_biblioteca, "QMX_Inicializa"));
  auto descricao = reinterpret_cast<Descricao>(dlsym(s_biblioteca, "QMX_DescricaoUltimoCOO"));
  ASSERT_TRUE(inicializa && descricao);
  EXPECT_EQ(inicializa("EMPRESA", 1, 2), 1);
  const char* texto = nullptr;
  EXPECT_EQ(descricao(2, &texto), 1);
  EXPECT_STREQ(texto, "Leitura X");
}

// The dynamic symbol table, as nm shows it (on Windows the exportacoes_dll
// test compares the DLL's export table with its list instead).
#if !defined(_WIN32)

// Only the listed surface is visible: no helper of the library and no
// standard-library template leaks into the dynamic symbol table (the dialog
// framework is there for the window host's library).
TEST_F(BibliotecaCarregada, NadaAlemDaSuperficieEExportado) {
  const std::string comando = std::string("nm -D --defined-only '") + QMX_BIBLIOTECA + "' 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> saida(popen(comando.c_str(), "r"), pclose);
  ASSERT_NE(saida, nullptr);
  std::array<char, 1024> linha{};
  int simbolos = 0;
  while (fgets(linha.data(), linha.size(), saida.get())) {
    std::string nome(linha.data());
    nome = nome.substr(nome.rfind(' ') + 1);
    nome.erase(nome.find_last_not_of("\r\n") + 1);
    ++simbolos;
    const bool permitido = nome.rfind("QMX_", 0) == 0 || nome.rfind("_Z9Monta", 0) == 0 ||
                           nome.rfind("_Z17CriptografarTexto", 0) == 0 || nome.rfind("_Z12PegaECFAtivo", 0) == 0 ||
                           nome.rfind("_Z23ECImprimeParametrizacao", 0) == 0 || nome.find("CQMX") != std::string::npos ||
                           nome.find("CZT") != std::string::npos || nome.find("CLinhaArqTEF") != std::string::npos ||
                           nome.find("T_Lista") != std::string::npos ||
                           nome.find("CContabilizaBase") != std::string::npos ||
                           nome.find("CExcecaoArquivo") != std::string::npos ||
                           // the dialog framework and its UTF-8 conversions, for the Qt host
                           nome.find("3qmx2ui") != std::string::npos ||
                           (nome.find("3qmx5texto") != std::string::npos && nome.find("Utf8") != std::string::npos);
    EXPECT_TRUE(permitido) << nome;
  }
  EXPECT_GT(simbolos, 40);
}

// The exported classes come with their members, found by their C++ names.
TEST_F(BibliotecaCarregada, ClassesExportadasTrazemSeusMembros) {
  const std::string comando = std::string("nm -D -C --defined-only '") + QMX_BIBLIOTECA + "' 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> saida(popen(comando.c_str(), "r"), pclose);
  ASSERT_NE(saida, nullptr);
  std::string todos;
  std::array<char, 4096> linha{};
  while (fgets(linha.data(), linha.size(), saida.get())) todos += linha.data();
  for (const char* membro :
       {"CQMXCalculo::AplicaDesconto(", "CQMXCalculo::AplicaDescontoEspecialItens(", "CQMXCalculo::VerificaDesconto(",
        "CQMXCalculo::ValidaDesconto(", "CQMXCalculo::ValidarDesconto(", "CQMXCalculo::CalcularValoresItemCupom(",
        "CQMXCalculo::RatearDescontoCupom(", "CQMXCalculo::CalcularImpostosAproxCupom(",
        "CZTCurrencyEx::CZTCurrencyEx(", "CZTCurrencyEx8::CZTCurrencyEx8(", "CQMXArquivoTEF::LerArquivo(",
        "CQMXArquivoTEF::GerarArquivo(", "CLinhaArqTEF::InterpretaLinha(", "CContabilizaBase::SetComplemento(",
        "typeinfo for CExcecaoArquivo"})
    EXPECT_NE(todos.find(membro), std::string::npos) << membro;
}

#endif  // !_WIN32

}  // namespace
