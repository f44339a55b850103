// TEF lines and files: any bytes parse, read and write back without fault.
#include <cstdint>
#include <string>

#include "fuzz/EntradaEmMemoria.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "tef/QMXArquivoTEF.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  static const EntradaEmMemoria entrada;
  const std::string texto(reinterpret_cast<const char*>(dados), tamanho);
  // Each line alone, and the line its text form parses back to.
  for (std::size_t inicio = 0; inicio <= texto.size();) {
    std::size_t fim = texto.find('\n', inicio);
    if (fim == std::string::npos) fim = texto.size();
    const CLinhaArqTEF linha(texto.substr(inicio, fim - inicio));
    const CLinhaArqTEF relida(linha.ToString());
    (void)relida.GetTexto();
    inicio = fim + 1;
  }
  entrada.Grava(dados, tamanho);
  CQMXArquivoTEF arquivo(entrada.Caminho());
  try {
    if (arquivo.LerArquivo()) {
      T_Lista<CLinhaArqTEF> lista;
      for (std::uint16_t campo : {0, 1, 27, 999}) arquivo.PossuiCampo(campo, &lista);
    }
  } catch (const CExcecaoArquivo&) {
    // A read error after opening is the documented answer.
  }
  return 0;
}
