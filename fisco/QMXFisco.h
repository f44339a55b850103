#pragma once

#include <cstdint>
#include <string>

namespace qmx {

// Digests of files and texts, the authenticated-file list and the
// identification report.
class CQMXFisco {
 public:
  CQMXFisco() = default;
  CQMXFisco(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  virtual ~CQMXFisco() = default;

  // The MD5 digest text of a file (32 lowercase hexadecimal digits and the
  // terminator) into `saida`. False when the file cannot be opened or read
  // completely, or the digest fails; `saida` is then left as it was.
  bool GerarMD5Arquivo(const char* caminho, char* saida) const;

  // The 16 digest bytes of the text followed by the library's secret block,
  // and the same as digest text.
  bool GerarMD5StringMD5(const char* texto, unsigned char* saida) const;
  bool GerarMD5String(const char* texto, char* saida) const;

  // Signs a file with its EAD line (see AssinaturaEAD).
  bool AssinarArquivo(const char* caminho) const;

  // Writes and signs the authenticated-file list "Torvo ECF.txt" in the
  // installation folder for the branch (0: the branch of the ECF connected
  // to this computer) and puts the digest text of the signed file into
  // `saida`. False, with nothing written and `saida` unchanged, when the
  // branch's state cannot be read, the installation folder is not in the
  // registry or the file cannot be written; `mostraMensagem` shows where
  // the file went (and why it did not, for the library's own failures).
  bool GerarListaArquivos(char* saida, bool mostraMensagem, std::uint16_t filial) const;

  // Prints the identification report "IDENT. PAF-ECF" on the fiscal
  // printer. False, with nothing printed, when this computer has no ECF,
  // its branch may not use ECFs or a data server fails.
  bool IdentificacaoPAFECF() const;

 private:
  std::string m_strEmpresa;
  std::uint16_t m_nUsuario = 0;
  std::int32_t m_nContexto = 0;
};

// The digest text of 16 bytes: two lowercase hexadecimal digits each.
std::string TextoDigest(const unsigned char* digest16);

}  // namespace qmx
