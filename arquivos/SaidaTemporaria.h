#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "plataforma/arquivos/ArquivoTemporario.h"

namespace qmx {

// The temporary file of a generated file, written record by record as the
// records are made, so that a file of any size is never held in memory.
// It is made in the system's temporary folder with the "txt" prefix
// (ArquivoTemporario: marked as this run's while it lives), and its bytes
// are written as given (the records end their own lines). Unless asked to
// stay, the file is deleted when the object goes, whatever happened: a
// failed generation leaves nothing behind.
class CSaidaTemporaria {
 public:
  CSaidaTemporaria() = default;
  ~CSaidaTemporaria();
  CSaidaTemporaria(const CSaidaTemporaria&) = delete;
  CSaidaTemporaria& operator=(const CSaidaTemporaria&) = delete;

  // Creates and opens the file; false when none could be.
  bool Cria();
  // Throw CExcecaoArquivo when the file cannot take the text.
  void Escreve(std::string_view texto);
  void Fecha();

  const std::string& Caminho() const { return m_temporario.Caminho(); }
  std::size_t Bytes() const { return m_escritos + m_buffer.size(); }
  // The file stays in the temporary folder after the object goes.
  void Mantem() { m_mantem = true; }

 private:
  void Descarrega();
  [[noreturn]] void Falha(int erro);

  ArquivoTemporario m_temporario;
  int m_fd = -1;
  std::string m_buffer;
  std::size_t m_escritos = 0;
  bool m_mantem = false;
};

}  // namespace qmx
