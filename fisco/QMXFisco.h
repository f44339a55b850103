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

  // The list file and the identification report need the data servers;
  // until those are reachable they fail, leaving the caller's buffer
  // unchanged.
  bool GerarListaArquivos(char* saida, bool mostraMensagem, std::uint16_t filial) const;
  bool IdentificacaoPAFECF() const;

 private:
  std::string m_strEmpresa;
  std::uint16_t m_nUsuario = 0;
  std::int32_t m_nContexto = 0;
};

// The digest text of 16 bytes: two lowercase hexadecimal digits each.
std::string TextoDigest(const unsigned char* digest16);

}  // namespace qmx
