#include "cli/Biblioteca.h"

#include <dlfcn.h>

#include <filesystem>

namespace qmx::cli {

Biblioteca::Biblioteca(const std::string& caminho) : m_caminho(caminho) {
  m_handle = dlopen(caminho.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m_handle) throw std::runtime_error(std::string("não foi possível carregar a biblioteca: ") + dlerror());
}

Biblioteca::~Biblioteca() { dlclose(m_handle); }

void* Biblioteca::Simbolo(const char* nome) const {
  void* simbolo = dlsym(m_handle, nome);
  if (!simbolo) throw std::runtime_error(std::string("a biblioteca não exporta ") + nome);
  return simbolo;
}

std::string CaminhoBibliotecaPadrao(const char* argv0) {
  std::error_code erro;
  const auto programa = std::filesystem::canonical("/proc/self/exe", erro);
  const auto base = erro ? std::filesystem::path(argv0 ? argv0 : "").parent_path() : programa.parent_path();
#ifdef QMX_BIBLIOTECA_INSTALADA
  // Installed, the library sits where the install put it, relative to the
  // program's own folder (bin/ and lib/... of the same prefix).
  if (const auto instalada = base / QMX_BIBLIOTECA_INSTALADA; std::filesystem::exists(instalada, erro))
    return instalada.lexically_normal().string();
#endif
  for (const auto& candidato : {base / "libqmxutil.so", base.parent_path() / "libqmxutil.so",
                                base.parent_path() / "lib" / "libqmxutil.so"})
    if (std::filesystem::exists(candidato, erro)) return candidato.string();
  return QMX_BIBLIOTECA_PADRAO;
}

}  // namespace qmx::cli
