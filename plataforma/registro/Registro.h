#pragma once

#include <optional>
#include <string>

namespace qmx::registro {

// Read-only stand-in for the machine-wide registry (HKEY_LOCAL_MACHINE).
//
// The registry is one text file: sections are key paths written as the
// Windows registry writes them ("[SOFTWARE\ZT Redudeva\Torvo ECF]") and each
// value is a "Name=Value" line. Its path comes from the environment variable
// QMX_REGISTRO, else /etc/qmxutil/registro.ini. Every call looks at the
// file again, so a change shows at once (some settings are read on every
// use); the parsed content is kept while the file is unchanged. Only a
// regular file is read: anything else reads as a missing file.
//
// Key paths and value names compare without regard to letter case, as on
// Windows. A missing file, key or value reads as absent; a line that is
// neither a section, a value nor a comment (";" or "#") is skipped. The file
// is UTF-8 (a file that is not valid UTF-8 is taken as Windows-1252); values
// come back in Windows-1252, like every text of the library.
class Registro {
 public:
  // The file that the next read uses.
  static std::string CaminhoArquivo();

  // The text of a value, or nothing when the file, key or value is missing.
  static std::optional<std::string> LeValor(const std::string& chave, const std::string& nome);

  // The text of a value, or an empty text when missing.
  static std::string LeTexto(const std::string& chave, const std::string& nome);

  // Whether the key exists (as a section of the file).
  static bool ExisteChave(const std::string& chave);
};

}  // namespace qmx::registro
