// Message catalogues: any file gives a message, no message, or not open.
#include <cstdint>

#include "fuzz/EntradaEmMemoria.h"
#include "plataforma/mensagens/CatalogoMensagens.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  static const EntradaEmMemoria entrada;
  entrada.Grava(dados, tamanho);
  for (std::uint32_t numero : {0u, 1u, 122u, 4294967295u})
    (void)qmx::mensagens::CCatalogoMensagens::LeDoArquivo(entrada.Caminho(), numero);
  return 0;
}
