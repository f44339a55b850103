#include <gtest/gtest.h>
#if defined(_WIN32)
#include <windows.h>
#include <wincrypt.h>
#else
#include <openssl/evp.h>
#endif
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "apoio/PastaTemporaria.h"
#include "apoio/VerificaEAD.h"
#include "fisco/AssinaturaEAD.h"
#include "fisco/BlocoSecreto.h"
#include "frame/QMXUTIL.h"

using qmx::AssinaturaEAD;
using qmx::testes::PastaTemporaria;

namespace {

constexpr size_t kLinhaEAD = 3 + 256 + 2;

bool Assina(const std::string& caminho) { return QMX_AssinarArquivo(caminho.c_str()) != 0; }

std::string Md5(const std::string& bytes) {
  unsigned char digest[16] = {};
#if defined(_WIN32)
  // The older CryptoAPI, apart from the CNG calls the library makes.
  HCRYPTPROV provedor = 0;
  HCRYPTHASH hash = 0;
  DWORD n = sizeof digest;
  if (CryptAcquireContextW(&provedor, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
    if (CryptCreateHash(provedor, CALG_MD5, 0, 0, &hash)) {
      CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0);
      CryptGetHashParam(hash, HP_HASHVAL, digest, &n, 0);
      CryptDestroyHash(hash);
    }
    CryptReleaseContext(provedor, 0);
  }
#else
  unsigned int n = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &n, EVP_md5(), nullptr);
#endif
  return std::string(reinterpret_cast<char*>(digest), 16);
}

TEST(AssinaturaEAD, ConfereComAChavePublicadaPelaLinhaDeComando) {
  PastaTemporaria pasta;
  const std::string original = "E1|ABC\r\nE2|123\r\n";
  const std::string arquivo = pasta.Grava("estoque.txt", original);
  ASSERT_TRUE(Assina(arquivo));
  const std::string assinado = PastaTemporaria::Le(arquivo);
  ASSERT_EQ(assinado.size(), original.size() + kLinhaEAD);
  EXPECT_EQ(assinado.substr(0, original.size()), original);
  EXPECT_EQ(assinado.compare(original.size(), 3, "EAD"), 0);
  EXPECT_EQ(assinado.find_first_not_of("0123456789abcdef", original.size() + 3), assinado.size() - 2);
  const std::string bloco = qmx::testes::BlocoDaAssinatura(assinado);
  ASSERT_EQ(bloco.size(), 128u) << "openssl could not open the signature";
  EXPECT_EQ(std::tuple(bloco[0], bloco.substr(1, 16), bloco.substr(17)), std::tuple(16, Md5(original), std::string(111, '\0')));
}

TEST(AssinaturaEAD, ArquivoVazioEArquivoSemQuebraFinal) {
  PastaTemporaria pasta;
  const std::string vazio = pasta.Grava("vazio.txt", "");
  ASSERT_TRUE(Assina(vazio));
  const std::string assinadoVazio = PastaTemporaria::Le(vazio);
  ASSERT_EQ(assinadoVazio.size(), kLinhaEAD);
  EXPECT_EQ(qmx::testes::BlocoDaAssinatura(assinadoVazio).substr(1, 16), Md5(""));

  const std::string semQuebra = pasta.Grava("sem.txt", "linha 1\r\nlinha 2");
  ASSERT_TRUE(Assina(semQuebra));
  const std::string assinado = PastaTemporaria::Le(semQuebra);
  EXPECT_EQ(assinado.substr(0, 19), "linha 1\r\nlinha 2EAD");
}

TEST(AssinaturaEAD, UltimaLinhaQueComecaComEADESubstituida) {
  EXPECT_EQ(AssinaturaEAD::TamanhoCoberto("a\r\nEADnao-e-assinatura\r\n"), 3u);
  EXPECT_EQ(AssinaturaEAD::TamanhoCoberto("a\r\nEAD"), 3u);
  EXPECT_EQ(AssinaturaEAD::TamanhoCoberto("EADxyz\r\n"), 0u);
  EXPECT_EQ(AssinaturaEAD::TamanhoCoberto("a\r\nXEAD\r\n"), 9u);
  EXPECT_EQ(AssinaturaEAD::TamanhoCoberto("EAD"), 3u);  // three bytes or fewer stay whole
  // The search starts three bytes before the end, so the two last bytes never
  // end the line: "EAD\n\n" still counts as the EAD line.
  EXPECT_EQ(AssinaturaEAD::TamanhoCoberto("a\nEAD\n\n"), 2u);
}

TEST(AssinaturaEAD, FalhasDeixamOArquivoComoEstava) {
  PastaTemporaria pasta;
  EXPECT_FALSE(Assina(pasta.Caminho("nao-existe.txt")));
  EXPECT_FALSE(std::filesystem::exists(pasta.Caminho("nao-existe.txt")));
  EXPECT_FALSE(Assina(pasta.Pasta().string()));
  EXPECT_FALSE(QMX_AssinarArquivo(nullptr));
  // A folder that cannot be written: the file stays whole, no stray file.
  // (POSIX modes; Windows has no such folder for its owner.)
#if !defined(_WIN32)
  if (geteuid() != 0) {
    const std::string arquivo = pasta.Grava("so-leitura/a.txt", "abc\r\n");
    std::filesystem::permissions(pasta.Pasta() / "so-leitura", std::filesystem::perms::owner_read |
                                                                   std::filesystem::perms::owner_exec);
    EXPECT_FALSE(Assina(arquivo));
    EXPECT_EQ(PastaTemporaria::Le(arquivo), "abc\r\n");
    std::filesystem::permissions(pasta.Pasta() / "so-leitura", std::filesystem::perms::owner_all);
  }
#endif
}

TEST(AssinaturaEAD, CaminhoComBrancosEAcentosEConteudoBinario) {
  PastaTemporaria pasta;
  std::string binario(3000, '\0');
  for (size_t i = 0; i < binario.size(); ++i) binario[i] = static_cast<char>(i * 31);
  // The name made and read through the system's own form of it (UTF-8 on
  // Linux, UTF-16 on Windows); the library gets it in Windows-1252.
  const auto noDisco = pasta.Pasta() / std::filesystem::u8path("Relat\xC3\xB3rio de Vendas.bin");
  std::ofstream(noDisco, std::ios::binary) << binario;
  const std::string caminho = pasta.Pasta().string() + "/Relat\xF3rio de Vendas.bin";  // the library's form
  ASSERT_TRUE(Assina(caminho));
  std::ifstream leitura(noDisco, std::ios::binary);
  const std::string assinado((std::istreambuf_iterator<char>(leitura)), std::istreambuf_iterator<char>());
  EXPECT_EQ(assinado.substr(0, binario.size()), binario);
  EXPECT_EQ(qmx::testes::BlocoDaAssinatura(assinado).substr(1, 16), Md5(binario));
}

#if !defined(_WIN32)  // POSIX permission bits
TEST(AssinaturaEAD, PermissoesDoArquivoSaoMantidas) {
  PastaTemporaria pasta;
  const std::string arquivo = pasta.Grava("p.txt", "x\r\n");
  using std::filesystem::perms;
  std::filesystem::permissions(arquivo, perms::owner_read | perms::owner_write | perms::group_read);
  ASSERT_TRUE(Assina(arquivo));
  EXPECT_EQ(std::filesystem::status(arquivo).permissions() & perms::all,
            perms::owner_read | perms::owner_write | perms::group_read);
  EXPECT_EQ(pasta.Entradas(), 1);
}
#endif

// The digest of the text followed by the whole secret block, never the
// block first.
TEST(ResumoComSal, TextoSeguidoDoBloco) {
  const std::string bloco(reinterpret_cast<const char*>(qmx::kBlocoSecreto), qmx::kTamanhoBlocoSecreto);
  for (const char* texto : {"texto", "", static_cast<const char*>(nullptr)}) {
    const std::string esperado = Md5(std::string(texto ? texto : "") + bloco);
    unsigned char bytes[16];
    ASSERT_TRUE(QMX_GerarMD5_StringMD5(texto, bytes));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 16), esperado);
    char hex[33] = {}, hexEsperado[33] = {};
    for (int i = 0; i < 16; ++i)
      std::snprintf(hexEsperado + 2 * i, 3, "%02x", static_cast<unsigned char>(esperado[static_cast<size_t>(i)]));
    ASSERT_TRUE(QMX_GerarMD5_String(texto, hex));
    EXPECT_STREQ(hex, hexEsperado);
  }
}

}  // namespace
