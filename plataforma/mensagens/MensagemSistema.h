#pragma once

#include <cstdint>
#include <string>

namespace qmx::mensagens {

// The operating system's text for an error code, in Portuguese and on one
// line, as the system's message table gives it: system error codes (Win32
// numbering) and result codes; a result of the system facility
// (0x8007xxxx) reads as its system code. Empty for a code the table does
// not hold.
std::string TextoErroSistema(std::uint32_t codigo);

}  // namespace qmx::mensagens
