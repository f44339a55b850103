#include "plataforma/processo/ProcessoComPipe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "plataforma/com/ErroSistema.h"

extern char** environ;

namespace qmx::processo {
namespace {

// Closes a descriptor once, at the end of its scope or when asked.
class Descritor {
 public:
  explicit Descritor(int fd = -1) : m_fd(fd) {}
  ~Descritor() { Fecha(); }
  Descritor(const Descritor&) = delete;
  Descritor& operator=(const Descritor&) = delete;
  int Fd() const { return m_fd; }
  void Fecha() {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
  }

 private:
  int m_fd;
};

std::uint32_t Erro(int numero) { return com::ErroSistemaDoErrno(numero); }

}  // namespace

std::uint32_t ExecutaComPipe(const std::vector<std::string>& argumentos, std::string& saida) {
  saida.clear();
  if (argumentos.empty() || argumentos[0].empty()) return Erro(EINVAL);

  // Both ends are closed on exec; the child gets the write end as its
  // output and error, and nothing else of ours.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return Erro(errno);
  Descritor leitura(fds[0]);
  Descritor escrita(fds[1]);

  posix_spawn_file_actions_t acoes;
  if (int erro = posix_spawn_file_actions_init(&acoes); erro != 0) return Erro(erro);
  posix_spawn_file_actions_addopen(&acoes, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&acoes, escrita.Fd(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&acoes, escrita.Fd(), STDERR_FILENO);

  std::vector<char*> argv;
  for (const auto& argumento : argumentos) argv.push_back(const_cast<char*>(argumento.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int erroInicio = posix_spawnp(&pid, argv[0], &acoes, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  if (erroInicio != 0) return Erro(erroInicio);
  escrita.Fecha();

  // Reading to the end before waiting gives the same text as waiting first,
  // and cannot stall a program whose output outgrows the pipe.
  std::uint32_t resultado = 0;
  char bloco[4096];
  for (;;) {
    const ssize_t lidos = read(leitura.Fd(), bloco, sizeof bloco);
    if (lidos > 0) {
      saida.append(bloco, static_cast<size_t>(lidos));
    } else if (lidos == 0) {
      break;
    } else if (errno != EINTR) {
      resultado = Erro(errno);
      break;
    }
  }
  int estado = 0;
  while (waitpid(pid, &estado, 0) < 0) {
    if (errno != EINTR) return resultado ? resultado : Erro(errno);
  }
  return resultado;
}

// "--" keeps a host name that starts with "-" from being taken as an option.
std::vector<std::string> ComandoPing(const std::string& host) { return {"ping", "-c", "4", "--", host}; }

std::string CaminhoPrograma() {
  char caminho[PATH_MAX];
  const ssize_t tamanho = readlink("/proc/self/exe", caminho, sizeof caminho - 1);
  if (tamanho <= 0) return {};
  return std::string(caminho, static_cast<size_t>(tamanho));
}

}  // namespace qmx::processo
