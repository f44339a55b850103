#pragma once

#include <string>
#include <vector>

namespace qmx::impressora {

// A management report printed the way every report of the library prints
// one: its index searched by title, opened only when one was found, each
// piece sent from a fresh zero-filled copy, closed at the end. The
// printer's answers are not examined: a missing report shows on paper, not
// as an error. Pieces may be built between the prints (a report whose
// reads report their own failures, in print order).
class CRelatorioGerencial {
 public:
  explicit CRelatorioGerencial(const std::string& titulo);
  ~CRelatorioGerencial();
  CRelatorioGerencial(const CRelatorioGerencial&) = delete;
  CRelatorioGerencial& operator=(const CRelatorioGerencial&) = delete;

  void Imprime(const std::string& peca);
};

// The whole report from pieces already built.
void ImprimeRelatorioGerencial(const std::string& titulo, const std::vector<std::string>& pecas);

}  // namespace qmx::impressora
