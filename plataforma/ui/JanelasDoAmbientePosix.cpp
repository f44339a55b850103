#include "plataforma/ui/JanelasDoAmbiente.h"

#include <dlfcn.h>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace qmx::ui {

namespace {

// The folder of the library this code is linked into ("" when unknown).
std::string PastaDestaBiblioteca() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&PastaDestaBiblioteca), &info) == 0 || !info.dli_fname) return {};
  const std::string caminho = info.dli_fname;
  const auto barra = caminho.find_last_of('/');
  return barra == std::string::npos ? std::string() : caminho.substr(0, barra + 1);
}

std::string Variavel(const char* nome) {
  const char* valor = std::getenv(nome);
  return valor ? valor : "";
}

// Connects to a local socket; abstract when the name starts with '@'.
bool ConectaLocal(const std::string& caminho) {
  sockaddr_un endereco{};
  if (caminho.size() >= sizeof(endereco.sun_path)) return false;
  endereco.sun_family = AF_UNIX;
  std::memcpy(endereco.sun_path, caminho.data(), caminho.size());
  if (caminho[0] == '@') endereco.sun_path[0] = '\0';
  const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return false;
  const auto tamanho = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + caminho.size());
  const bool conectou = ::connect(s, reinterpret_cast<sockaddr*>(&endereco), tamanho) == 0;
  ::close(s);
  return conectou;
}

// Connects to a TCP port of a host, waiting two seconds at most.
bool ConectaRede(const std::string& maquina, int porta) {
  addrinfo pedido{};
  pedido.ai_socktype = SOCK_STREAM;
  addrinfo* achados = nullptr;
  if (::getaddrinfo(maquina.c_str(), std::to_string(porta).c_str(), &pedido, &achados) != 0) return false;
  bool conectou = false;
  for (addrinfo* a = achados; a && !conectou; a = a->ai_next) {
    const int s = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (s < 0) continue;
    timeval espera{2, 0};
    ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &espera, sizeof espera);
    conectou = ::connect(s, a->ai_addr, a->ai_addrlen) == 0;
    ::close(s);
  }
  ::freeaddrinfo(achados);
  return conectou;
}

// DISPLAY as "[host]:N[.screen]" ("unix:N" is local too).
bool XResponde(const std::string& tela) {
  const auto doisPontos = tela.rfind(':');
  if (doisPontos == std::string::npos) return false;
  const std::string maquina = tela.substr(0, doisPontos);
  const int numero = std::atoi(tela.c_str() + doisPontos + 1);
  if (maquina.empty() || maquina == "unix") {
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(numero);
    return ConectaLocal(socket) || ConectaLocal("@" + socket);
  }
  return ConectaRede(maquina, 6000 + numero);
}

}  // namespace

bool TelaResponde() {
  const std::string plataforma = Variavel("QT_QPA_PLATFORM");
  if (!plataforma.empty() && plataforma.rfind("xcb", 0) != 0 && plataforma.rfind("wayland", 0) != 0) return true;
  const std::string wayland = Variavel("WAYLAND_DISPLAY");
  if (!wayland.empty() && plataforma.rfind("xcb", 0) != 0) {
    const std::string socket = wayland[0] == '/' ? wayland : Variavel("XDG_RUNTIME_DIR") + "/" + wayland;
    if (ConectaLocal(socket)) return true;
  }
  const std::string x = Variavel("DISPLAY");
  return !x.empty() && plataforma.rfind("wayland", 0) != 0 && XResponde(x);
}

bool AtivaJanelasDoAmbiente() {
  const char* janelas = std::getenv("QMX_JANELAS");
  if (!janelas || std::string(janelas) != "qt") return false;
  // Loaded for good: the host lives as long as the process. It is a plug-in
  // of this library, in the folder "qmxutil" beside it (where both the build
  // and an installation put it), else where the system finds libraries.
  void* biblioteca = nullptr;
  for (const std::string& nome : {PastaDestaBiblioteca() + kPluginJanelasQt, std::string("libqmxutil-qt.so")})
    if ((biblioteca = dlopen(nome.c_str(), RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE)) != nullptr) break;
  if (!biblioteca) return false;
  using Ativa = int (*)();
  const auto ativa = reinterpret_cast<Ativa>(dlsym(biblioteca, "QMX_AtivaJanelasQt"));
  return ativa && ativa() == 1;
}

}  // namespace qmx::ui
