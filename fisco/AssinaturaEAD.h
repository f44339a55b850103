#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "plataforma/cripto/Cripto.h"

namespace qmx {

// The EAD line that ends every electronic file the library generates: the
// RSA signature, with the library's private key and no padding, of a block
// holding the MD5 digest of the file's contents.
class AssinaturaEAD {
 public:
  using Bloco = std::array<unsigned char, 128>;

  // Signs the file in place: an EAD line it already ends with is cut off
  // and the new one appended. The content before it is never rewritten: a
  // failure leaves it whole (unsigned at worst, and signing again mends
  // it). False when the file is not a regular file or cannot be read,
  // signed or written.
  static bool AssinaArquivo(const std::string& caminho);
  // The same on a file already open for reading and writing (a file being
  // stored, signed before it takes its final name). With the digest of the
  // whole file as it was written, the content is not read back (only its
  // last line, to find an EAD line already there, which the digest would
  // cover: then the content is read after all).
  static bool AssinaDescritor(int fd, const cripto::DigestMD5* digestDoArquivo = nullptr);
  // AssinaDescritor as the step a written file runs before it takes its
  // name (CArquivoTexto::Fechar), with the digest of what was written;
  // `assinado`, when given, keeps its answer, so that a refused signature
  // is told apart from a failed write.
  static std::function<bool(int, const cripto::DigestMD5*)> AoGuardar(bool* assinado = nullptr);

  // How many leading bytes the signature covers: all of them, less the last
  // line when that line starts with "EAD".
  static std::size_t TamanhoCoberto(std::string_view conteudo);

  // The block that is signed: its digest length (16), the MD5 digest of the
  // content, zeros.
  static std::optional<Bloco> BlocoDe(std::string_view conteudo);

  // The raw private-key operation on a block, or nothing when it fails.
  static std::optional<Bloco> Assina(const Bloco& bloco);

  // "EAD", 256 lowercase hexadecimal digits, "\r\n".
  static std::string LinhaEAD(const Bloco& assinatura);
};

}  // namespace qmx
