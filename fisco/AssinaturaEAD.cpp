#include "fisco/AssinaturaEAD.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "fisco/ChaveAssinatura.h"
#include "plataforma/arquivos/Descritores.h"
#include "plataforma/cripto/Cripto.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {
namespace {

// Gathers the key's parts (n, e, d, p, q, d mod p-1, d mod q-1, q^-1 mod
// p), runs the raw private operation and wipes the gathered bytes.
std::optional<std::vector<unsigned char>> OperacaoPrivada(const AssinaturaEAD::Bloco& bloco) {
  unsigned char bytes[kTamanhoChave];
  ChaveAssinatura(bytes);
  static constexpr int kTamanhos[] = {128, 3, 128, 64, 64, 64, 64, 64};
  std::basic_string_view<unsigned char> partes[8];
  int deslocamento = 0;
  for (int i = 0; i < 8; ++i) {
    partes[i] = {bytes + deslocamento, static_cast<std::size_t>(kTamanhos[i])};
    deslocamento += kTamanhos[i];
  }
  const cripto::PartesRSA chave{partes[0], partes[1], partes[2], partes[3],
                                partes[4], partes[5], partes[6], partes[7]};
  auto resultado = cripto::PrivadaSemPreenchimento(chave, {bloco.data(), bloco.size()});
  cripto::LimpaMemoria(bytes, sizeof bytes);
  return resultado;
}

// The block signed for a digest: its length (16), the digest, zeros.
AssinaturaEAD::Bloco BlocoDoDigest(const cripto::DigestMD5& digest) {
  AssinaturaEAD::Bloco bloco{};
  bloco[0] = 16;
  std::copy(digest.begin(), digest.end(), bloco.begin() + 1);
  return bloco;
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
  const auto digest = cripto::CalculaMD5(conteudo.data(), conteudo.size());
  if (!digest) return std::nullopt;
  return BlocoDoDigest(*digest);
}

std::optional<AssinaturaEAD::Bloco> AssinaturaEAD::Assina(const Bloco& bloco) {
  const auto resultado = OperacaoPrivada(bloco);
  Bloco assinatura{};
  if (!resultado || resultado->size() != assinatura.size()) return std::nullopt;
  std::copy(resultado->begin(), resultado->end(), assinatura.begin());
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
  const int fd = descritores::Abre(texto::CaminhoNativo(caminho).c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
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
    const char* const inicioBloco = bloco;
    const char* const fimBloco = bloco + (fim - de);
    const auto quebra =
        std::find(std::make_reverse_iterator(fimBloco), std::make_reverse_iterator(inicioBloco), '\n');
    if (quebra.base() != inicioBloco) {
      inicio = de + static_cast<std::size_t>(quebra.base() - inicioBloco);
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
  cripto::MD5 md5;
  constexpr std::size_t kBloco = 1 << 20;
  std::unique_ptr<char[]> dados(new char[kBloco]);
  ::posix_fadvise(fd, 0, static_cast<off_t>(tamanho), POSIX_FADV_SEQUENTIAL);
  for (std::size_t lido = 0; lido < tamanho;) {
    const std::size_t parte = std::min(kBloco, tamanho - lido);
    if (!LeEm(fd, dados.get(), parte, static_cast<off_t>(lido)) ||
        !md5.Acrescenta(dados.get(), parte))
      return std::nullopt;
    lido += parte;
  }
  const auto digest = md5.Finaliza();
  if (!digest) return std::nullopt;
  return BlocoDoDigest(*digest);
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
  return AssinaDescritor(fd);
}

std::function<bool(int, const cripto::DigestMD5*)> AssinaturaEAD::AoGuardar(bool* assinado) {
  return [assinado](int fd, const cripto::DigestMD5* digest) {
    const bool ok = AssinaDescritor(fd, digest);
    if (assinado) *assinado = ok;
    return ok;
  };
}

bool AssinaturaEAD::AssinaDescritor(int fd, const cripto::DigestMD5* digestDoArquivo) {
  struct stat estado {};
  if (::fstat(fd, &estado) != 0) return false;
  const auto tamanho = static_cast<std::size_t>(estado.st_size);
  const auto coberto = CobertoNoArquivo(fd, tamanho);
  if (!coberto) return false;
  const auto bloco = digestDoArquivo && *coberto == tamanho ? std::optional(BlocoDoDigest(*digestDoArquivo))
                                                             : BlocoDoArquivo(fd, *coberto);
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
      // A full disk: the content stays whole, without a signature; the
      // cause stays in errno for the caller's box.
      const int erro = n < 0 ? errno : ENOSPC;
      (void)::ftruncate(fd, static_cast<off_t>(*coberto));
      errno = erro;
      return false;
    }
    escrito += static_cast<std::size_t>(n);
  }
  return ::fsync(fd) == 0;
}

}  // namespace qmx
