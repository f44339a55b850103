#pragma once

#include <string>

namespace qmx {

// The integration log: one line per step or problem of a pass, appended to
// the log file named by QMX_SetDiretorio ("dd/mm/aa hh:mm:ss text" and CR
// LF, with the library clock). The file is created when missing, never
// truncated, and shared: each line goes out in one append, so lines of two
// processes writing at once never mix or get lost. A name that is an
// existing folder gets the file "QMXIntegracao.log" inside it. Without a
// name the text is shown to the operator instead.
class CLogIntegracao {
 public:
  explicit CLogIntegracao(std::string caminho = {}) : m_strArquivoLog(std::move(caminho)) {}

  void SetArquivo(const std::string& caminho) { m_strArquivoLog = caminho; }
  const std::string& Arquivo() const { return m_strArquivoLog; }

  // Writes one text (Windows-1252). Answers false when the log file could
  // not be written; the text is then shown to the operator, so nothing a
  // pass reports is lost silently.
  bool Escreve(const std::string& texto) const;

  // The line as it goes into the file, for the current library time.
  static std::string Linha(const std::string& texto);

 private:
  std::string m_strArquivoLog;
};

}  // namespace qmx
