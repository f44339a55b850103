// The EAD line reader of "qmx verificar": any file is valid, invalid,
// unsigned or unreadable, never a fault.
#include <cstdint>

#include "cli/VerificacaoEAD.h"
#include "fuzz/EntradaEmMemoria.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  static const EntradaEmMemoria entrada;
  entrada.Grava(dados, tamanho);
  (void)qmx::cli::VerificaArquivo(entrada.Caminho());
  return 0;
}
