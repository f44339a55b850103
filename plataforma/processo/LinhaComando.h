#pragma once

// Windows only: a child's command line is one text, split back into
// arguments by the child's C run-time.
#if defined(_WIN32)

#include <string>

namespace qmx::processo {

// Appends one argument as the C run-time splits it back: quoted when it
// holds blanks or quotes, backslashes doubled before a quote.
void AcrescentaArgumento(std::wstring& linha, const std::wstring& argumento);

}  // namespace qmx::processo

#endif
