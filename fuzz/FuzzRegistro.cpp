// The registry file: any bytes read as keys and values, or as nothing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/EntradaEmMemoria.h"
#include "plataforma/registro/Registro.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  static const EntradaEmMemoria entrada = [] {
    EntradaEmMemoria e;
    setenv("QMX_REGISTRO", e.Caminho().c_str(), 1);
    return e;
  }();
  entrada.Grava(dados, tamanho);
  using qmx::registro::Registro;
  (void)Registro::LeValor("SOFTWARE\\ZT Redudeva\\Torvo ECF", "Path");
  (void)Registro::ExisteChave("SOFTWARE\\ZT Redudeva\\Empresas\\TESTE");
  // A key and a name taken from the input itself.
  const std::string texto(reinterpret_cast<const char*>(dados), tamanho);
  const auto igual = texto.find('=');
  (void)Registro::LeValor(texto.substr(0, texto.find(']')), texto.substr(0, igual == std::string::npos ? 0 : igual));
  return 0;
}
