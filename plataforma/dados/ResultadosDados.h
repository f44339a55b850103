#pragma once

#include "plataforma/com/HResult.h"

namespace qmx::dados {

// Result codes of the data servers beyond the common ones of HResult.h.
// The record asked for does not exist (the Windows "element not found").
constexpr com::HRESULT QMX_E_REGISTRO_INEXISTENTE = com::Codigo(0x80070490u);
// The database answered with an error of its own (a broken schema, a full
// disk): the operation did not happen.
constexpr com::HRESULT QMX_E_FALHA_BASE = com::Codigo(0x8000FFFFu);
// An operation on a connection that was not initialised, or was finished.
constexpr com::HRESULT QMX_E_NAO_INICIALIZADA = com::Codigo(0x800401F0u);

// The company's database was made by a newer version of the library; it
// is not touched.
constexpr com::HRESULT QMX_E_BASE_MAIS_NOVA = com::Codigo(0x8004100Eu);

// A record that documents of an open period name cannot be deleted (the
// Windows "the requested resource is in use").
constexpr com::HRESULT QMX_E_REGISTRO_EM_USO = com::Codigo(0x800700AAu);

// The company's database file exists but is empty, or is not a database of
// this system: it is neither recreated nor touched.
constexpr com::HRESULT QMX_E_BASE_INVALIDA = com::Codigo(0x80041010u);

}  // namespace qmx::dados
