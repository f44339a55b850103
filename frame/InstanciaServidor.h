#pragma once

#include <cstdint>

#include "plataforma/com/Interfaces.h"

namespace qmx {

// Flags of InstanciaServidor.
constexpr std::uint32_t kInstanciaRegistraEventos = 0x1;  // first-failure diagnostics and the final error
constexpr std::uint32_t kInstanciaRepeteIndisponivel = 0x2;  // retry while the server is unavailable

constexpr int kInstanciaTentativas = 500;
constexpr std::uint32_t kInstanciaIntervaloMs = 500;

// Activates a data-server class and hands back one of its interfaces.
//
// While the server answers RPC_S_SERVER_UNAVAILABLE and retrying is asked
// for, the activation is tried again every half second, up to 500 times;
// any other answer ends the attempts. An E_INVALIDARG answer is followed at
// once by one attempt without server information. After the second failed
// attempt the event log gets a warning and the ping output of the class's
// remote server; a success after that gets a warning with the attempt
// number; a final failure gets an error entry. On success the proxy's
// security is set to no authentication with impersonation and the interface
// goes to `interface` (the caller releases it). Returns the activation's
// result; never throws.
com::HRESULT InstanciaServidor(const com::CLSID& clsid, com::IUnknown* externo, std::uint32_t contexto,
                               const com::IID& iid, void** interface, std::uint32_t flags);

}  // namespace qmx
