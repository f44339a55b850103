#pragma once

#include <string>
#include <vector>

namespace qmx {

// An ECF as the identification report lists it.
struct ECFIdentificacao {
  std::string nome;
  std::string numeroSerie;
  bool habilitado = false;
  std::string uf;  // state of the ECF's branch
};

// The identification report "IDENT. PAF-ECF": the program, its developer,
// the digests of the executable, of the list file and of every listed file,
// and the enabled printers with their serial numbers.
class RelatorioIdentificacao {
 public:
  static constexpr const char* kTitulo = "IDENT. PAF-ECF";

  // The pieces of text in the order they are sent to the printer. `uf` is
  // the state of the connected ECF's branch; in "AL" only ECFs of branches
  // in "AL" are listed.
  static std::vector<std::string> Pecas(const std::string& uf, const std::string& pastaInstalacao,
                                        const std::vector<ECFIdentificacao>& ecfs);

  // Prints the pieces as the management report of that title.
  static void Imprime(const std::vector<std::string>& pecas);
};

}  // namespace qmx
