#include "apoio/RegistroTemporario.h"

#include <cstdlib>

namespace qmx::testes {

RegistroTemporario::RegistroTemporario(const std::string& conteudo) {
  if (const char* anterior = std::getenv("QMX_REGISTRO")) m_anterior = anterior;
  Reescreve(conteudo);
  setenv("QMX_REGISTRO", Caminho().c_str(), 1);
}

RegistroTemporario::~RegistroTemporario() {
  if (m_anterior) setenv("QMX_REGISTRO", m_anterior->c_str(), 1);
  else unsetenv("QMX_REGISTRO");
}

void RegistroTemporario::Reescreve(const std::string& conteudo) const { m_pasta.Grava("registro.ini", conteudo); }

}  // namespace qmx::testes
