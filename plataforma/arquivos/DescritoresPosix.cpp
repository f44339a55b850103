#include "plataforma/arquivos/Descritores.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace qmx::descritores {

int Abre(const char* caminhoNativo, int flags, int modo) { return ::open(caminhoNativo, flags, modo); }

int Renomeia(const char* de, const char* para) { return std::rename(de, para); }

std::string Nome(const std::filesystem::path& caminho) { return caminho.string(); }

std::optional<std::string> NomeExato(const std::filesystem::path& caminho) { return caminho.string(); }

std::string CaminhoReal(const std::string& caminhoNativo) {
  char real[PATH_MAX];
  return ::realpath(caminhoNativo.c_str(), real) ? std::string(real) : std::string();
}

bool MesmoArquivo(int fd, const std::string& caminhoNativo) {
  struct stat aberto {}, nomeado {};
  return ::fstat(fd, &aberto) == 0 && ::lstat(caminhoNativo.c_str(), &nomeado) == 0 &&
         aberto.st_dev == nomeado.st_dev && aberto.st_ino == nomeado.st_ino;
}

std::int64_t SegundosModificacao(const struct stat& estado) { return estado.st_mtim.tv_sec; }

}  // namespace qmx::descritores
