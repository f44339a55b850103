#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "cli/Biblioteca.h"
#include "cli/Opcoes.h"

namespace qmx::cli {

// What a command works with: the loaded library, its options, and where it
// writes. Everything written there is Windows-1252, like the library's texts
// and this program's own literals; main() turns it into UTF-8 for the
// terminal.
struct Ambiente {
  Biblioteca& biblioteca;
  const Opcoes& opcoes;
  std::ostream& saida;
  std::string empresa = {};  // the company key given to QMX_Inicializa
};

// One subcommand: its name, the export it runs, a line of help, the flags
// it takes (options without a value) and its work. The work returns the
// export's boolean (true also for exports that answer a number).
// The controls of a filter dialog that the operator's answers by name fill
// (0 where the dialog has no such control).
struct CamposDialogo {
  int idModelo = 0;
  int filial = 0;
  int ecf = 0;
  int dataInicial = 0;
  int dataFinal = 0;
  // Drop-down lists chosen by the item's value (1 for the first item):
  // the option's name and the list's control.
  std::vector<std::pair<std::string, int>> listas = {};
  // More edits typed as given: the option's name and the edit's control.
  std::vector<std::pair<std::string, int>> edicoes = {};
  // An option that may repeat, each value typed into an edit and added to
  // a list with a button (the products of a partial stock).
  struct Adicao {
    std::string opcao;
    int edicao = 0;
    int botao = 0;
  };
  std::vector<Adicao> adicoes = {};
  // Radio choices by name: the option's name and, per accepted value, the
  // button it clicks (--leiaute cotepe clicks "Ato COTEPE/ICMS 09/08").
  struct Escolha {
    std::string nome;
    std::vector<std::pair<std::string, int>> valores;
  };
  std::vector<Escolha> escolhas = {};
};

struct Comando {
  std::string nome;
  std::string exportacao;
  std::string ajuda;
  std::vector<std::string> flags;
  std::function<bool(Ambiente&)> executa;
  bool abreDialogo = false;
  // For the filter dialogs: the controls that --filial, --ecf,
  // --data-inicial and --data-final fill (--opcao ID clicks a choice).
  CamposDialogo campos{};
};

const std::vector<Comando>& Comandos();
const Comando* ProcuraComando(const std::string& nome);

// Windows-1252 text of the library, as the terminal shows it.
std::string ParaTerminal(const std::string& texto);
// A text typed on the terminal, as the library takes it.
std::string DoTerminal(const std::string& texto);

}  // namespace qmx::cli
