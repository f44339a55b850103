#include "cli/Biblioteca.h"

#include <filesystem>

#include "plataforma/processo/ProcessoComPipe.h"

namespace qmx::cli {

namespace {

sistema::BibliotecaDinamica Carrega(const std::string& caminho) try {
  return sistema::BibliotecaDinamica(caminho);
} catch (const std::runtime_error& erro) {
  throw std::runtime_error(std::string("não foi possível carregar a biblioteca: ") + erro.what());
}

}  // namespace

Biblioteca::Biblioteca(const std::string& caminho) : m_caminho(caminho), m_biblioteca(Carrega(caminho)) {}

Biblioteca::~Biblioteca() = default;

void* Biblioteca::Simbolo(const char* nome) const {
  void* simbolo = m_biblioteca.Simbolo(nome);
  if (!simbolo) throw std::runtime_error(std::string("a biblioteca não exporta ") + nome);
  return simbolo;
}

std::string CaminhoBibliotecaPadrao(const char* argv0) {
  std::error_code erro;
  const std::string programa = processo::CaminhoPrograma();
  const auto base = programa.empty() ? std::filesystem::path(argv0 ? argv0 : "").parent_path()
                                     : std::filesystem::path(programa).parent_path();
#ifdef QMX_BIBLIOTECA_INSTALADA
  // Installed, the library sits where the install put it, relative to the
  // program's own folder (bin/ and lib/... of the same prefix).
  if (const auto instalada = base / QMX_BIBLIOTECA_INSTALADA; std::filesystem::exists(instalada, erro))
    return instalada.lexically_normal().string();
#endif
#if defined(_WIN32)
  constexpr const char* kNome = "QMXUTIL.dll";
#else
  constexpr const char* kNome = "libqmxutil.so";
#endif
  for (const auto& candidato : {base / kNome, base.parent_path() / kNome, base.parent_path() / "lib" / kNome})
    if (std::filesystem::exists(candidato, erro)) return candidato.string();
  return QMX_BIBLIOTECA_PADRAO;
}

}  // namespace qmx::cli
