#pragma once

#include <stdexcept>
#include <string>

#include "plataforma/processo/Sistema.h"

namespace qmx::cli {

// The library loaded the way the point-of-sale program loads it: by path,
// each export looked up by name.
class Biblioteca {
 public:
  explicit Biblioteca(const std::string& caminho);
  ~Biblioteca();
  Biblioteca(const Biblioteca&) = delete;
  Biblioteca& operator=(const Biblioteca&) = delete;

  template <class TFuncao>
  TFuncao* Funcao(const char* nome) const {
    return reinterpret_cast<TFuncao*>(Simbolo(nome));
  }

  const std::string& Caminho() const { return m_caminho; }

 private:
  void* Simbolo(const char* nome) const;

  std::string m_caminho;
  sistema::BibliotecaDinamica m_biblioteca;
};

// The library beside the program, else the one the build made.
std::string CaminhoBibliotecaPadrao(const char* argv0);

}  // namespace qmx::cli
