#pragma once

#include <string>

#include "plataforma/com/Guid.h"
#include "plataforma/com/HResult.h"

namespace qmx {

// The machine that the component configuration names for a class: the
// class's "AppID" under the classes root (key "CLSID\{...}"), then that
// application's "RemoteServerName" (key "AppID\{...}"). The classes root
// is the machine's "SOFTWARE\Classes". Any missing key or value, or a value
// longer than its buffer (63 and 255 characters), gives an empty text.
std::string PegaServidorRemoto(const com::CLSID& clsid);

// Runs "ping" against the host (four echoes) and hands back what it wrote,
// with S_OK. An empty host gives "Falta informar o IP" and S_OK; a ping that
// cannot be started gives the system error as a result (0x8007xxxx) and no
// text.
com::HRESULT PingServidor(const std::string& host, std::string& saida);

}  // namespace qmx
