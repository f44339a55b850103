#include "fisco/AssinaturaEAD.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/rsa.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "fisco/BlocoSecreto.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {
namespace {

struct LiberaBN {
  void operator()(BIGNUM* n) const { BN_clear_free(n); }
};
struct LiberaChave {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct LiberaContexto {
  void operator()(EVP_PKEY_CTX* c) const { EVP_PKEY_CTX_free(c); }
};
struct LiberaConstrutor {
  void operator()(OSSL_PARAM_BLD* b) const { OSSL_PARAM_BLD_free(b); }
};
struct LiberaParametros {
  void operator()(OSSL_PARAM* p) const { OSSL_PARAM_free(p); }
};
using BN = std::unique_ptr<BIGNUM, LiberaBN>;
using Chave = std::unique_ptr<EVP_PKEY, LiberaChave>;

// Gathers the key from the secret block and builds a fresh key object from
// its parts, in the order and sizes the block keeps them. The gathered bytes
// are wiped before returning.
Chave MontaChave() {
  unsigned char bytes[kTamanhoChave];
  for (int i = 0; i < kTamanhoChave; ++i) bytes[i] = kBlocoSecreto[kPosicoesChave[i]];
  static constexpr struct {
    const char* nome;
    int tamanho;
  } kPartes[] = {
      {OSSL_PKEY_PARAM_RSA_N, 128},         {OSSL_PKEY_PARAM_RSA_E, 3},
      {OSSL_PKEY_PARAM_RSA_D, 128},         {OSSL_PKEY_PARAM_RSA_FACTOR1, 64},
      {OSSL_PKEY_PARAM_RSA_FACTOR2, 64},    {OSSL_PKEY_PARAM_RSA_EXPONENT1, 64},
      {OSSL_PKEY_PARAM_RSA_EXPONENT2, 64},  {OSSL_PKEY_PARAM_RSA_COEFFICIENT1, 64},
  };
  std::unique_ptr<OSSL_PARAM_BLD, LiberaConstrutor> construtor(OSSL_PARAM_BLD_new());
  BN numeros[8];
  int deslocamento = 0;
  bool ok = construtor != nullptr;
  for (int i = 0; i < 8 && ok; ++i) {
    numeros[i].reset(BN_bin2bn(bytes + deslocamento, kPartes[i].tamanho, nullptr));
    deslocamento += kPartes[i].tamanho;
    ok = numeros[i] && OSSL_PARAM_BLD_push_BN(construtor.get(), kPartes[i].nome, numeros[i].get()) == 1;
  }
  OPENSSL_cleanse(bytes, sizeof bytes);
  if (!ok) return nullptr;
  std::unique_ptr<OSSL_PARAM, LiberaParametros> parametros(OSSL_PARAM_BLD_to_param(construtor.get()));
  std::unique_ptr<EVP_PKEY_CTX, LiberaContexto> contexto(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
  EVP_PKEY* chave = nullptr;
  if (!parametros || !contexto || EVP_PKEY_fromdata_init(contexto.get()) != 1 ||
      EVP_PKEY_fromdata(contexto.get(), &chave, EVP_PKEY_KEYPAIR, parametros.get()) != 1)
    return nullptr;
  return Chave(chave);
}

}  // namespace

std::size_t AssinaturaEAD::TamanhoCoberto(std::string_view conteudo) {
  if (conteudo.size() <= 3) return conteudo.size();
  // The last line: after the last line break found looking back from the
  // third byte before the end (so the EAD line's own "\r\n" is skipped).
  size_t inicio = 0;
  for (size_t i = conteudo.size() - 3 + 1; i-- > 0;)
    if (conteudo[i] == '\n') {
      inicio = i + 1;
      break;
    }
  return conteudo.compare(inicio, 3, "EAD") == 0 ? inicio : conteudo.size();
}

std::optional<AssinaturaEAD::Bloco> AssinaturaEAD::BlocoDe(std::string_view conteudo) {
  Bloco bloco{};
  unsigned int tamanho = 0;
  if (EVP_Digest(conteudo.data(), conteudo.size(), bloco.data() + 1, &tamanho, EVP_md5(), nullptr) != 1 ||
      tamanho != 16)
    return std::nullopt;
  bloco[0] = 16;
  return bloco;
}

std::optional<AssinaturaEAD::Bloco> AssinaturaEAD::Assina(const Bloco& bloco) {
  Chave chave = MontaChave();
  if (!chave) return std::nullopt;
  std::unique_ptr<EVP_PKEY_CTX, LiberaContexto> contexto(EVP_PKEY_CTX_new_from_pkey(nullptr, chave.get(), nullptr));
  Bloco assinatura{};
  size_t tamanho = assinatura.size();
  if (!contexto || EVP_PKEY_sign_init(contexto.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(contexto.get(), RSA_NO_PADDING) != 1 ||
      EVP_PKEY_sign(contexto.get(), assinatura.data(), &tamanho, bloco.data(), bloco.size()) != 1 ||
      tamanho != assinatura.size())
    return std::nullopt;
  return assinatura;
}

std::string AssinaturaEAD::LinhaEAD(const Bloco& assinatura) {
  std::string linha = "EAD";
  char hex[3];
  for (unsigned char byte : assinatura) {
    std::snprintf(hex, sizeof hex, "%02x", byte);
    linha += hex;
  }
  return linha + "\r\n";
}

namespace {

// The file opened for signing: a regular file only, never waited on.
int AbreParaAssinar(const std::string& caminho) {
  const int fd = ::open(texto::CaminhoNativo(caminho).c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat estado {};
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &estado) != 0 || !S_ISREG(estado.st_mode) || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool LeEm(int fd, char* destino, std::size_t tamanho, off_t deslocamento) {
  while (tamanho > 0) {
    const ssize_t n = ::pread(fd, destino, tamanho, deslocamento);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    destino += n;
    tamanho -= static_cast<std::size_t>(n);
    deslocamento += n;
  }
  return true;
}

// Where the covered bytes end (see TamanhoCoberto), reading only the end of
// the file: back from the third byte before the end to the last line break.
std::optional<std::size_t> CobertoNoArquivo(int fd, std::size_t tamanho) {
  if (tamanho <= 3) return tamanho;
  constexpr std::size_t kBloco = 4096;
  std::size_t fim = tamanho - 3 + 1;  // bytes [0, fim) may hold the break
  std::size_t inicio = 0;
  char bloco[kBloco];
  while (fim > 0) {
    const std::size_t de = fim > kBloco ? fim - kBloco : 0;
    if (!LeEm(fd, bloco, fim - de, static_cast<off_t>(de))) return std::nullopt;
    const void* quebra = ::memrchr(bloco, '\n', fim - de);
    if (quebra) {
      inicio = de + static_cast<std::size_t>(static_cast<const char*>(quebra) - bloco) + 1;
      break;
    }
    fim = de;
  }
  char tres[3];
  if (tamanho - inicio < 3 || !LeEm(fd, tres, 3, static_cast<off_t>(inicio))) return tamanho;
  return std::string_view(tres, 3) == "EAD" ? inicio : tamanho;
}

// The block of the first `tamanho` bytes of the file, read in large pieces.
std::optional<AssinaturaEAD::Bloco> BlocoDoArquivo(int fd, std::size_t tamanho) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> contexto(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  if (!contexto || EVP_DigestInit_ex(contexto.get(), EVP_md5(), nullptr) != 1) return std::nullopt;
  constexpr std::size_t kBloco = 1 << 20;
  std::unique_ptr<char[]> dados(new char[kBloco]);
  ::posix_fadvise(fd, 0, static_cast<off_t>(tamanho), POSIX_FADV_SEQUENTIAL);
  for (std::size_t lido = 0; lido < tamanho;) {
    const std::size_t parte = std::min(kBloco, tamanho - lido);
    if (!LeEm(fd, dados.get(), parte, static_cast<off_t>(lido)) ||
        EVP_DigestUpdate(contexto.get(), dados.get(), parte) != 1)
      return std::nullopt;
    lido += parte;
  }
  AssinaturaEAD::Bloco bloco{};
  unsigned int comprimento = 0;
  if (EVP_DigestFinal_ex(contexto.get(), bloco.data() + 1, &comprimento) != 1 || comprimento != 16) return std::nullopt;
  bloco[0] = 16;
  return bloco;
}

struct Fecha {
  int fd;
  ~Fecha() { ::close(fd); }
};

}  // namespace

// Signed in place: the content does not change, so it is only digested;
// then the old EAD line is cut off and the new one appended, and the file
// flushed to the disk. Signing costs little more than the digest itself.
// A crash between the cut and the append leaves the content whole and
// unsigned, and signing it again mends it.
bool AssinaturaEAD::AssinaArquivo(const std::string& caminho) {
  const int fd = AbreParaAssinar(caminho);
  if (fd < 0) return false;
  const Fecha fecha{fd};
  // One signer at a time: a second one waits and then signs the result.
  if (::flock(fd, LOCK_EX) != 0) return false;
  struct stat estado {};
  if (::fstat(fd, &estado) != 0) return false;
  const auto coberto = CobertoNoArquivo(fd, static_cast<std::size_t>(estado.st_size));
  if (!coberto) return false;
  const auto bloco = BlocoDoArquivo(fd, *coberto);
  if (!bloco) return false;
  const auto assinatura = Assina(*bloco);
  if (!assinatura) return false;
  const std::string linha = LinhaEAD(*assinatura);
  if (::ftruncate(fd, static_cast<off_t>(*coberto)) != 0) return false;
  std::size_t escrito = 0;
  while (escrito < linha.size()) {
    const ssize_t n = ::pwrite(fd, linha.data() + escrito, linha.size() - escrito, static_cast<off_t>(*coberto + escrito));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A full disk: the content stays whole, without a signature.
      (void)::ftruncate(fd, static_cast<off_t>(*coberto));
      return false;
    }
    escrito += static_cast<std::size_t>(n);
  }
  return ::fsync(fd) == 0;
}

}  // namespace qmx
