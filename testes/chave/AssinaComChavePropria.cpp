// Signs the files named with the EAD key this program was built with: the
// library's signing, linked with a key of the build's own (as a developer's
// build does with -DQMX_CHAVE_EAD) instead of the library's.
#include <cstdio>

#include "fisco/AssinaturaEAD.h"

int main(int argc, char** argv) {
  int falhas = 0;
  for (int i = 1; i < argc; ++i)
    if (!qmx::AssinaturaEAD::AssinaArquivo(argv[i])) {
      std::fprintf(stderr, "%s: não assinado\n", argv[i]);
      ++falhas;
    }
  return falhas == 0 ? 0 : 1;
}
