#include "cli/Interrupcao.h"

#if !defined(_WIN32)
#include <signal.h>
#include <unistd.h>
#endif

#include <string>
#include <system_error>
#include <thread>

#include "plataforma/arquivos/ArquivoTemporario.h"
#include "plataforma/arquivos/GravacaoAtomica.h"

namespace qmx::cli {

#if defined(_WIN32)

// The console's Ctrl-C ends the program as Windows ends it; what it left is
// removed by the next run's temporaries and by qmx limpar.
void PreparaInterrupcao(const std::filesystem::path&) {}

#else

namespace {

namespace fs = std::filesystem;

// The files this process holds open that are the library's work in
// progress: a partial file beside a file being stored, a temporary's mark
// (and the temporary it marks).
void RemoveOQueEstaSendoEscrito() {
  std::error_code erro;
  for (fs::directory_iterator it("/proc/self/fd", erro), fim; !erro && it != fim; it.increment(erro)) {
    std::error_code semAlvo;
    const fs::path alvo = fs::read_symlink(it->path(), semAlvo);
    if (semAlvo) continue;
    const std::string nome = alvo.filename().string();
    if (nome.empty() || nome[0] != '.') continue;
    std::error_code ignorado;
    if (nome.find(GravacaoAtomica::kMarca) != std::string::npos) {
      fs::remove(alvo, ignorado);
    } else if (const auto marca = nome.rfind(ArquivoTemporario::kMarca);
               marca != std::string::npos && marca + std::string(ArquivoTemporario::kMarca).size() == nome.size()) {
      fs::remove(alvo.parent_path() / nome.substr(1, marca - 1), ignorado);
      fs::remove(alvo, ignorado);
    }
  }
}

}  // namespace

void PreparaInterrupcao(const fs::path& pastaTemporaria) {
  sigset_t sinais;
  sigemptyset(&sinais);
  sigaddset(&sinais, SIGINT);
  sigaddset(&sinais, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &sinais, nullptr);
  std::thread([sinais, pastaTemporaria] {
    int sinal = 0;
    if (sigwait(&sinais, &sinal) != 0) return;
    RemoveOQueEstaSendoEscrito();
    std::error_code erro;
    fs::remove_all(pastaTemporaria, erro);
    static const char kTexto[] = "interrompido\n";
    [[maybe_unused]] const auto escritos = ::write(1, kTexto, sizeof kTexto - 1);
    ::_exit(130);
  }).detach();
}

#endif

}  // namespace qmx::cli
