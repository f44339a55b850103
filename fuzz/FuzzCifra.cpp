// The packed key of QMX_DesmontaSenha and the hexadecimal texts deciphered
// with it: any text gives a key pair and a deciphered text.
#include <cstdint>
#include <string>

#include "fisco/CifraTexto.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  const std::string texto(reinterpret_cast<const char*>(dados), tamanho);
  const auto corte = texto.find('|');
  const std::string senha = texto.substr(0, corte);
  const std::string hex = corte == std::string::npos ? std::string() : texto.substr(corte + 1);
  std::uint16_t semente = 0, deslocamento = 0;
  qmx::CifraTexto::DesmontaSenha(senha.c_str(), semente, deslocamento);
  const qmx::CifraTexto cifra(semente, deslocamento);
  (void)cifra.DecifraDeHex(hex);
  (void)cifra.CifraParaHex(hex.substr(0, qmx::CifraTexto::kTamanhoMaximo));
  return 0;
}
