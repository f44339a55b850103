#pragma once

#include <optional>
#include <string>

#include "plataforma/arquivos/GravacaoAtomica.h"

namespace qmx {

// A temporary file of the generated texts in the system's temporary folder,
// named as the platform the program comes from names them. While its run
// lives, the file has a hidden mark beside it ("." + name + kMarca), held
// under a lock: a file whose mark nobody holds belongs to a run that was
// killed, and the next temporary made in the folder removes both. A file
// without a mark is not the library's and is never touched.
class ArquivoTemporario {
 public:
  static constexpr const char* kMarca = ".qmx-dono";

  ArquivoTemporario() = default;
  ~ArquivoTemporario();
  ArquivoTemporario(const ArquivoTemporario&) = delete;
  ArquivoTemporario& operator=(const ArquivoTemporario&) = delete;

  // The system's temporary folder in the library's path form, ending in
  // "\"; nothing when it is longer than 260 characters or missing.
  static std::optional<std::string> Pasta();

  // Creates a new, empty file in the folder, named by the first three
  // characters of the prefix, a 16-bit number in uppercase hexadecimal
  // without leading zeros and ".tmp" (for example "txtD28D.tmp"), trying
  // numbers from a random start until one is free; the file this object
  // held before goes first. False when none could be created.
  bool Cria(const std::string& pasta, const std::string& prefixo);
  // The file's path in the library's form; empty before Cria.
  const std::string& Caminho() const { return m_caminho; }
  // Removes the file now.
  void Remove() noexcept;
  // Leaves the file where it is: it is no longer this run's, and counts
  // among the leftovers the next temporary of the folder (or qmx limpar)
  // removes.
  void Mantem() noexcept;

  // Removes the files of killed runs from the folder, with their marks.
  // `agora` is the file system's present time (seconds).
  static GravacaoAtomica::Limpeza LimpaAbandonados(const std::string& pastaNativa, std::int64_t agora);

 private:
  void SoltaMarca() noexcept;

  std::string m_caminho;
  std::string m_marca;  // native path of the mark
  int m_fdMarca = -1;
};

}  // namespace qmx
