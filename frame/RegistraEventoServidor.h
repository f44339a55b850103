#pragma once

#include <cstdint>
#include <string>

#include "plataforma/com/Guid.h"
#include "plataforma/com/HResult.h"

namespace qmx {

// Writes one entry about a data server to the event log, under the source
// "ZT Redudeva": of the given type (1 error, 2 warning), category 0, the
// result as its id, with two texts: the message, then
// "\nHR: 0x%X (system text)\nCLSID: {...}\nPrograma: executable\n".
// Nothing is written when the source cannot be registered.
void RegistraEventoServidor(const com::CLSID& clsid, com::HRESULT resultado, std::uint16_t tipo,
                            const std::string& mensagem);

}  // namespace qmx
