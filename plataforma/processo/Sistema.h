#pragma once

#include <string>
#include <vector>

namespace qmx::sistema {

// The few process services that the program around the library and its
// tests need, the same on every system.

// The process's environment (the variable is seen by child processes too).
void DefineVariavel(const std::string& nome, const std::string& valor);
void RemoveVariavel(const std::string& nome);

// This process's identifier.
long IdProcesso();

// Runs a program (argumentos[0] is the name it gets), waits for it and
// answers its exit code, or -1 when it could not run or did not exit on its
// own. Its standard output and error are thrown away.
int ExecutaSilencioso(const std::string& programa, const std::vector<std::string>& argumentos);

// A shared library loaded at run time (dlopen, LoadLibrary).
class BibliotecaDinamica {
 public:
  // Throws std::runtime_error with the system's reason when it cannot load.
  explicit BibliotecaDinamica(const std::string& caminhoNativo);
  ~BibliotecaDinamica();
  BibliotecaDinamica(const BibliotecaDinamica&) = delete;
  BibliotecaDinamica& operator=(const BibliotecaDinamica&) = delete;

  // The exported name's address, or null.
  void* Simbolo(const char* nome) const;

 private:
  void* m_handle = nullptr;
};

}  // namespace qmx::sistema
