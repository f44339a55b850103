#include <gtest/gtest.h>
#if defined(_WIN32)
#include <windows.h>
#include <wincrypt.h>
#else
#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>
#endif
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "apoio/PastaTemporaria.h"
#include "apoio/VerificaEAD.h"
#include "fisco/AssinaturaEAD.h"
#include "fisco/BlocoSecreto.h"
#include "frame/QMXUTIL.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/arquivos/DespejoTexto.h"

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

// A file digested as it is written is signed from that digest, not read
// back: the digest must then be that of the bytes on the disk, in text mode
// (LF written as CR LF) and as given, whatever pieces the text came in.
TEST(AssinaturaEAD, DigestDoQueFoiEscritoDispensaALeitura) {
  PastaTemporaria pasta;
  std::mt19937 sorteio(50);
  for (const auto modo : {CArquivoTexto::Modo::Escrita, CArquivoTexto::Modo::EscritaBinaria}) {
    const std::string caminho = pasta.Caminho(modo == CArquivoTexto::Modo::Escrita ? "texto.txt" : "bin.txt");
    CArquivoTexto arquivo;
    ASSERT_TRUE(arquivo.Abrir(caminho, modo));
    arquivo.DigereAoEscrever();
    std::string esperado;
    bool grande = false;
    while (esperado.size() < 200000 || !grande) {
      // Pieces from nothing to past the 64 KiB buffer, one in four copied
      // from a spill file, and once a spill past the 4 MiB copying window.
      const bool janela = !grande && esperado.size() > 100000;
      grande |= janela;
      std::string pedaco(janela ? (std::size_t{4} << 20) + 3 : sorteio() % 70000, '\0');
      for (auto& c : pedaco) c = "0123456789|\n"[sorteio() % 12];
      if (janela || sorteio() % 4 == 0) {
        qmx::CDespejoTexto despejo("despejo");
        despejo.Escreve(pedaco);
        despejo.CopiaPara(arquivo);
      } else {
        arquivo.EscreverTexto(pedaco);
      }
      for (const char c : pedaco) esperado += modo == CArquivoTexto::Modo::Escrita && c == '\n' ? "\r\n" : std::string(1, c);
    }
    EXPECT_THROW(arquivo.DigereAoEscrever(), std::logic_error);
    bool comDigest = false;
    arquivo.Fechar([&](int fd, const qmx::cripto::DigestMD5* digest) {
      comDigest = digest != nullptr;
      return AssinaturaEAD::AssinaDescritor(fd, digest);
    });
    EXPECT_TRUE(comDigest);
    const std::string assinado = PastaTemporaria::Le(caminho);
    ASSERT_EQ(assinado.size(), esperado.size() + kLinhaEAD);
    EXPECT_EQ(assinado.substr(0, esperado.size()), esperado);
    EXPECT_EQ(qmx::testes::BlocoDaAssinatura(assinado).substr(1, 16), Md5(esperado));
  }
#if !defined(_WIN32)
  // The digest given is what is signed (the file is not read: a false one
  // shows), unless the file ends with an EAD line, which it would cover:
  // then the content before that line is read and signed.
  const qmx::cripto::DigestMD5 falso{1, 2, 3};
  for (const std::string conteudo : {"a\r\nb\r\n", "a\r\nEADvelha\r\n"}) {
    const std::string caminho = pasta.Grava("dado.txt", conteudo);
    const int fd = ::open(caminho.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(AssinaturaEAD::AssinaDescritor(fd, &falso));
    ::close(fd);
    const std::string bloco = qmx::testes::BlocoDaAssinatura(PastaTemporaria::Le(caminho));
    const bool temEAD = conteudo.find("EAD") != std::string::npos;
    EXPECT_EQ(bloco.substr(1, 16), temEAD ? Md5("a\r\n") : std::string(reinterpret_cast<const char*>(falso.data()), 16))
        << conteudo;
  }
#endif
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
