#pragma once

#if !defined(_WIN32)  // a full disk is injected with RLIMIT_FSIZE
#include <sys/resource.h>

#include <csignal>

namespace qmx::testes {

// A limit on the size of the files this process writes, for as long as the
// object lives: a write past it fails (EFBIG) instead of stopping the
// process, as on a full disk.
class LimiteTamanhoArquivo {
 public:
  explicit LimiteTamanhoArquivo(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_anterior);
    m_sinal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = m_anterior;
    limite.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limite);
  }
  ~LimiteTamanhoArquivo() {
    setrlimit(RLIMIT_FSIZE, &m_anterior);
    std::signal(SIGXFSZ, m_sinal);
  }
  LimiteTamanhoArquivo(const LimiteTamanhoArquivo&) = delete;
  LimiteTamanhoArquivo& operator=(const LimiteTamanhoArquivo&) = delete;

 private:
  rlimit m_anterior{};
  void (*m_sinal)(int) = SIG_DFL;
};

// What `corrida` answers, run under a limit of `bytes`.
template <class F>
auto ComLimite(rlim_t bytes, F&& corrida) {
  const LimiteTamanhoArquivo limite(bytes);
  return corrida();
}

}  // namespace qmx::testes
#endif  // !_WIN32
