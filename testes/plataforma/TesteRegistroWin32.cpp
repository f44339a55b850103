// The system's registry as the Windows build reads it (HKEY_LOCAL_MACHINE),
// and paths outside the ANSI code page.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "apoio/PastaTemporaria.h"
#include "plataforma/arquivos/ArquivoTemporario.h"
#include "plataforma/registro/Registro.h"
#include "plataforma/registro/TextoRegistro.h"

using qmx::registro::Registro;

namespace {

constexpr wchar_t kChave[] = L"SOFTWARE\\ZT Redudeva\\Teste Registro";

// A key of the test's own, removed with its values at the end.
class RegistroSistema : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kChave, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_chave, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(m_chave);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kChave);
  }
  void Texto(const wchar_t* nome, const std::wstring& valor, DWORD tipo = REG_SZ, bool comTerminador = true) {
    const DWORD bytes = static_cast<DWORD>((valor.size() + (comTerminador ? 1 : 0)) * sizeof(wchar_t));
    ASSERT_EQ(RegSetValueExW(m_chave, nome, 0, tipo, reinterpret_cast<const BYTE*>(valor.c_str()), bytes),
              ERROR_SUCCESS);
  }
  HKEY m_chave = nullptr;
};

TEST_F(RegistroSistema, TextoLidoEmWindows1252) {
  Texto(L"Path", L"C:\\Torvo\\Regi\u00E3o\\");
  EXPECT_EQ(Registro::LeValor("SOFTWARE\\ZT Redudeva\\Teste Registro", "path"), "C:\\Torvo\\Regi\xE3o\\");
  EXPECT_TRUE(Registro::ExisteChave("software\\zt redudeva\\teste registro"));
  // A character with no Windows-1252 form comes back as "?".
  Texto(L"Nome", L"Loja \u65E5");
  EXPECT_EQ(Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Teste Registro", "Nome"), "Loja ?");
  // Stored without its terminator, or with text after one, it ends there.
  Texto(L"Sem", L"abc", REG_SZ, false);
  EXPECT_EQ(Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Teste Registro", "Sem"), "abc");
  Texto(L"Dois", std::wstring(L"um\0dois", 7));
  EXPECT_EQ(Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Teste Registro", "Dois"), "um");
  // REG_EXPAND_SZ is a text as stored.
  Texto(L"Expande", L"%TEMP%\\x", REG_EXPAND_SZ);
  EXPECT_EQ(Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Teste Registro", "Expande"), "%TEMP%\\x");
}

// A registry text written into the system (what the demonstration does):
// keys made as needed below the test's key, values replaced, accents and
// quoted blanks kept, a value outside any key left out.
TEST_F(RegistroSistema, TextoGravadoNoSistemaLidoDeVolta) {
  const std::string texto =
      "Solto=fora\n"
      "[SOFTWARE\\ZT Redudeva\\Teste Registro\\Empresas\\DEMO\\]\n"
      "EC=C:\\Torvo\\Regi\xC3\xA3o\\\n"
      "Nome=\"  dois brancos  \"\n"
      "Nome=trocado\n"
      "[SOFTWARE\\ZT Redudeva\\Teste Registro]\n"
      "Solto=dentro\n";
  unsigned long erro = 99;
  ASSERT_TRUE(qmx::registro::GravaNoRegistroDoSistema(texto, &erro));
  EXPECT_EQ(erro, 99u);  // untouched on success
  const std::string empresa = "SOFTWARE\\ZT Redudeva\\Teste Registro\\Empresas\\DEMO";
  EXPECT_EQ(Registro::LeValor(empresa, "EC"), "C:\\Torvo\\Regi\xE3o\\");
  EXPECT_EQ(Registro::LeValor(empresa, "Nome"), "trocado");
  EXPECT_EQ(Registro::LeValor("SOFTWARE\\ZT Redudeva\\Teste Registro", "Solto"), "dentro");
  ASSERT_TRUE(qmx::registro::GravaNoRegistroDoSistema("[SOFTWARE\\ZT Redudeva\\Teste Registro\\Empresas\\DEMO]\n"
                                                      "Nome=\"  dois brancos  \"\n"));
  EXPECT_EQ(Registro::LeValor(empresa, "Nome"), "  dois brancos  ");
  RegDeleteTreeW(m_chave, L"Empresas");
}

TEST_F(RegistroSistema, ChaveOuValorAusenteOuDeOutroTipoLeVazio) {
  EXPECT_FALSE(Registro::LeValor("SOFTWARE\\ZT Redudeva\\Nao Existe", "Path"));
  EXPECT_FALSE(Registro::ExisteChave("SOFTWARE\\ZT Redudeva\\Nao Existe"));
  EXPECT_FALSE(Registro::LeValor("SOFTWARE\\ZT Redudeva\\Teste Registro", "Path"));
  const DWORD numero = 7;
  ASSERT_EQ(RegSetValueExW(m_chave, L"Numero", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&numero), sizeof numero),
            ERROR_SUCCESS);
  EXPECT_FALSE(Registro::LeValor("SOFTWARE\\ZT Redudeva\\Teste Registro", "Numero"));
  const BYTE bytes[] = {'C', 0, ':', 0, 0, 0};
  ASSERT_EQ(RegSetValueExW(m_chave, L"Binario", 0, REG_BINARY, bytes, sizeof bytes), ERROR_SUCCESS);
  EXPECT_FALSE(Registro::LeValor("SOFTWARE\\ZT Redudeva\\Teste Registro", "Binario"));
  Texto(L"Lista", std::wstring(L"a\0b\0", 4), REG_MULTI_SZ);
  EXPECT_EQ(Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Teste Registro", "Lista"), "");
  // An empty text is a value: present and empty.
  Texto(L"Vazio", L"");
  EXPECT_EQ(Registro::LeValor("SOFTWARE\\ZT Redudeva\\Teste Registro", "Vazio"), std::string());
}

TEST_F(RegistroSistema, RelidoACadaChamada) {
  Texto(L"Valor", L"1");
  EXPECT_EQ(Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Teste Registro", "Valor"), "1");
  Texto(L"Valor", L"2");
  EXPECT_EQ(Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Teste Registro", "Valor"), "2");
  RegDeleteValueW(m_chave, L"Valor");
  EXPECT_FALSE(Registro::LeValor("SOFTWARE\\ZT Redudeva\\Teste Registro", "Valor"));
}

// Paths the library cannot name: a temporary folder with a character outside
// the ANSI code page is refused, not mangled into another folder's name.
TEST(CaminhoForaDaPaginaDeCodigo, PastaTemporariaRecusada) {
  qmx::testes::PastaTemporaria pasta;
  const std::filesystem::path estranha = pasta.Pasta() / L"caixa \u65E5\u672C";
  ASSERT_TRUE(std::filesystem::create_directory(estranha));
  wchar_t anterior[MAX_PATH] = {};
  const DWORD tinha = GetEnvironmentVariableW(L"TMP", anterior, MAX_PATH);
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", estranha.c_str()));
  EXPECT_FALSE(qmx::ArquivoTemporario::Pasta());
  // A name of the code page's own accents is a folder like any other.
  const std::filesystem::path acentuada = pasta.Pasta() / L"a\u00E7\u00E3o";
  ASSERT_TRUE(std::filesystem::create_directory(acentuada));
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", acentuada.c_str()));
  const auto aceita = qmx::ArquivoTemporario::Pasta();
  ASSERT_TRUE(aceita);
  EXPECT_NE(aceita->find("a\xE7\xE3o\\"), std::string::npos) << *aceita;
  SetEnvironmentVariableW(L"TMP", tinha ? anterior : nullptr);
}

}  // namespace
