#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qmx {

// The point-of-sale installation folder and the files the fiscal rules
// authenticate in it.
class ArquivosInstalacao {
 public:
  // The files whose digests are listed, in list order, named as compared
  // and written.
  static const std::vector<std::string>& Listados();

  // The installation folder: the registry's "Path" of
  // "SOFTWARE\ZT Redudeva\Torvo ECF", with a "\" appended when it does not
  // end in a separator; nothing when the value is missing or empty.
  static std::optional<std::string> Pasta();

  // The path of a file of the folder. Names compare without regard to case,
  // as on the platform the program comes from: "TORVO ECF.TXT" finds
  // "Torvo ECF.txt".
  static std::string Caminho(const std::string& pasta, const std::string& nome);

  // The digest text of a file of the folder (lowercase), or nothing when it
  // cannot be read or there is no folder (empty `pasta`).
  static std::optional<std::string> Digest(const std::string& pasta, const std::string& nome);
};

std::string Maiusculas(std::string texto);

}  // namespace qmx
