#include "frame/ContextoBiblioteca.h"

namespace qmx {

ContextoBiblioteca& Contexto() {
  static ContextoBiblioteca contexto;
  return contexto;
}

TriploConexao CopiaTriplo() { return Contexto().triplo; }

std::string TextoDoChamador(const char* texto) { return texto ? std::string(texto) : std::string(); }

}  // namespace qmx
