#include "plataforma/ui/JanelasDoAmbiente.h"

#include <dlfcn.h>

#include <cstdlib>
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

}  // namespace

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
