#pragma once

#include <optional>
#include <string>

namespace qmx {

// The signed list of the authenticated files, "Torvo ECF.txt" in the
// installation folder: N1 (developer), N2 (program and version), one N3 per
// listed file with its digest, N9 (count).
class ListaArquivosAutenticados {
 public:
  static constexpr const char* kNomeArquivo = "Torvo ECF.txt";

  // The version text: "5.2.521" for a branch in the state "AL", "5.2 ERP 5.21"
  // for the others.
  static std::string TextoVersao(const std::string& uf);

  // The records, each ended by "\r\n". A file that cannot be read gets 32
  // blanks for its digest.
  static std::string Monta(const std::string& uf, const std::string& pasta);

  // Signs the list and writes it into the folder (whole, replacing the old
  // one); returns the digest text of the signed bytes it wrote, nothing when
  // it cannot be signed or written (then the old list stays).
  static std::optional<std::string> Gera(const std::string& uf, const std::string& pasta);
};

}  // namespace qmx
