#include "fisco/ChaveAssinatura.h"

namespace qmx {

// The library's own key, scattered over the secret block.
void ChaveAssinatura(unsigned char (&bytes)[kTamanhoChave]) {
  for (int i = 0; i < kTamanhoChave; ++i) bytes[i] = kBlocoSecreto[kPosicoesChave[i]];
}

}  // namespace qmx
