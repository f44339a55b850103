#pragma once

#include <filesystem>
#include <string>

namespace qmx::testes {

// The environment variable that names the system's temporary folder.
#if defined(_WIN32)
inline constexpr const char* kVariavelTemporarios = "TMP";
#else
inline constexpr const char* kVariavelTemporarios = "TMPDIR";
#endif

// A fresh folder under the system's temporary folder for one test, removed
// with everything in it at the end.
class PastaTemporaria {
 public:
  PastaTemporaria();
  ~PastaTemporaria();
  PastaTemporaria(const PastaTemporaria&) = delete;
  PastaTemporaria& operator=(const PastaTemporaria&) = delete;

  const std::filesystem::path& Pasta() const { return m_pasta; }
  std::string Caminho(const std::string& nome) const { return (m_pasta / nome).string(); }
  // Writes a file (bytes as given, folders made as needed) and returns its path.
  std::string Grava(const std::string& nome, const std::string& bytes) const;
  static std::string Le(const std::string& caminho);
  // Entries in the folder: a leftover temporary file shows here.
  long Entradas() const;

 private:
  std::filesystem::path m_pasta;
};

}  // namespace qmx::testes
