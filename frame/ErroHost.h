#pragma once

#include <cstdint>

namespace qmx {

// Fills the error record with a data-server failure and hands it to the
// hosting program's application object, which shows it. Used where a report
// goes to the host instead of the maker's error reporter.
void InformaErroHost(std::int32_t resultado, std::uint32_t mensagem, std::uint16_t detalhe, const char* arquivoFonte,
                     int linha, const char* carimbo);

}  // namespace qmx
