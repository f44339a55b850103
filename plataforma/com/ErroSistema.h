#pragma once

#include <cstdint>

namespace qmx::com {

// The system error code (Win32 numbering) that matches a C library error
// number, so that failures of this platform's calls travel on with the codes
// that the library's callers and messages know. Unlisted numbers give
// ERROR_GEN_FAILURE.
std::uint32_t ErroSistemaDoErrno(int numeroErrno);

}  // namespace qmx::com
