#pragma once

#include <cstdint>
#include <string>

namespace qmx {

// The text of a status code that the fiscal integration server answers to
// a recording (a code it does not list gives the general text).
std::string TextoStatusFiscal(std::uint16_t codigo);

// The text and message number of the accounting server's result code for
// a recorded entry (0 is success and has none).
struct ResultadoContabil {
  std::string texto;
  std::uint32_t numero;
};
ResultadoContabil TraduzResultadoContabil(std::uint16_t codigo);

}  // namespace qmx
