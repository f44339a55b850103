#pragma once

#include <string>
#include <vector>

namespace qmx::impressora {

// Prints a management report the way every report of the library does:
// search its index by title, open it only when one was found, print each
// piece from a fresh zero-filled copy, close it. The printer's answers are
// not examined: a missing report shows on paper, not as an error.
void ImprimeRelatorioGerencial(const std::string& titulo, const std::vector<std::string>& pecas);

}  // namespace qmx::impressora
