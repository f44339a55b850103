#pragma once

#include <optional>
#include <string>

#include "apoio/PastaTemporaria.h"

namespace qmx::testes {

// A registry file of the test's own, made current through QMX_REGISTRO for
// the life of the object (the previous setting comes back afterwards).
class RegistroTemporario {
 public:
  explicit RegistroTemporario(const std::string& conteudo = {});
  ~RegistroTemporario();
  RegistroTemporario(const RegistroTemporario&) = delete;
  RegistroTemporario& operator=(const RegistroTemporario&) = delete;

  // Replaces the whole file.
  void Reescreve(const std::string& conteudo) const;
  std::string Caminho() const { return m_pasta.Caminho("registro.ini"); }

 private:
  PastaTemporaria m_pasta;
  std::optional<std::string> m_anterior;
};

}  // namespace qmx::testes
