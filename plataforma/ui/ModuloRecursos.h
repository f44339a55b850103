#pragma once

#include <map>
#include <string>
#include <string_view>

#include "plataforma/ui/ModeloDialogo.h"

namespace qmx::ui {

// A module that carries resources (dialog templates), standing in for a
// loaded program or library with its resource section.
class ModuloRecursos {
 public:
  explicit ModuloRecursos(std::string nome);

  const std::string& Nome() const { return m_nome; }
  void AdicionaModelos(std::string_view textoRecursos);
  void AdicionaModelo(ModeloDialogo modelo);
  const ModeloDialogo* Modelo(int id) const;
  const std::map<int, ModeloDialogo>& Modelos() const { return m_modelos; }

 private:
  std::string m_nome;
  std::map<int, ModeloDialogo> m_modelos;
};

// The calling program's own module, current when the process starts.
ModuloRecursos& ModuloPrograma();

// This library's module ("QMXUTIL.DLL"), holding every template of the
// library. Built on first use and registered in the chain of resource
// libraries, as the library's entry point does when it is loaded.
ModuloRecursos& ModuloBiblioteca();

// The process's current resource module and the switch between modules.
ModuloRecursos& RecursoAtual();
void DefineRecursoAtual(ModuloRecursos& modulo);

// Adds a module to the chain searched after the current one.
void RegistraNaCadeia(ModuloRecursos& modulo);

// Finds a template: first in the current module, then along the chain.
const ModeloDialogo* ProcuraModelo(int id);

// Makes a module current for the life of the object and restores the one
// that was current before on every way out, an exception included.
class TrocaRecursos {
 public:
  explicit TrocaRecursos(ModuloRecursos& modulo);
  ~TrocaRecursos();
  TrocaRecursos(const TrocaRecursos&) = delete;
  TrocaRecursos& operator=(const TrocaRecursos&) = delete;

 private:
  ModuloRecursos* m_anterior;
};

}  // namespace qmx::ui
