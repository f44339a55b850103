#include "plataforma/arquivos/Descritores.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace qmx::descritores {

int Abre(const char* caminhoNativo, int flags, int modo) { return ::open(caminhoNativo, flags, modo); }

int Renomeia(const char* de, const char* para) { return std::rename(de, para); }

std::string Nome(const std::filesystem::path& caminho) { return caminho.string(); }

std::string CaminhoReal(const std::string& caminhoNativo) {
  char real[PATH_MAX];
  return ::realpath(caminhoNativo.c_str(), real) ? std::string(real) : std::string();
}

std::int64_t SegundosModificacao(const struct stat& estado) { return estado.st_mtim.tv_sec; }

}  // namespace qmx::descritores
