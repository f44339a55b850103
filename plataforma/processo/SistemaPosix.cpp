#include "plataforma/processo/Sistema.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace qmx::sistema {

void DefineVariavel(const std::string& nome, const std::string& valor) { ::setenv(nome.c_str(), valor.c_str(), 1); }

void RemoveVariavel(const std::string& nome) { ::unsetenv(nome.c_str()); }

long IdProcesso() { return static_cast<long>(::getpid()); }

int ExecutaSilencioso(const std::string& programa, const std::vector<std::string>& argumentos) {
  std::vector<std::string> copia = argumentos;
  std::vector<char*> argv;
  for (auto& argumento : copia) argv.push_back(argumento.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&acoes, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t filho = 0;
  const int criado = posix_spawn(&filho, programa.c_str(), &acoes, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  if (criado != 0) return -1;
  int estado = 0;
  if (waitpid(filho, &estado, 0) < 0 || !WIFEXITED(estado)) return -1;
  return WEXITSTATUS(estado);
}

BibliotecaDinamica::BibliotecaDinamica(const std::string& caminhoNativo) {
  m_handle = dlopen(caminhoNativo.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m_handle) throw std::runtime_error(dlerror());
}

BibliotecaDinamica::~BibliotecaDinamica() { dlclose(m_handle); }

void* BibliotecaDinamica::Simbolo(const char* nome) const { return dlsym(m_handle, nome); }

}  // namespace qmx::sistema
