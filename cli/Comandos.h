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

// An option of a command: its name without "--", what its value looks like
// (empty for a flag) and a line of help.
struct OpcaoComando {
  std::string nome;
  std::string valor;
  std::string ajuda;
  int controle = 0;  // the dialog control it fills or clicks (0: none)
};

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
  // More edits typed as given: the option's name, the edit's control and
  // the radio button that enables it (0: always enabled), clicked first.
  struct Edicao {
    std::string opcao;
    int controle = 0;
    int radio = 0;
    std::string valor = "TEXTO";  // what the value looks like, for the help
  };
  std::vector<Edicao> edicoes = {};
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
    std::string ajuda = {};
  };
  std::vector<Escolha> escolhas = {};
  // Flags that click a button or check box: the flag's name and the button.
  std::vector<std::pair<std::string, int>> cliques = {};
  // The radio button that enables the branch, ECF and date edits (0: none).
  int radioPeriodo = 0;
};

// One subcommand: its name, the export it runs, a line of help, what its
// plain arguments are, the options it takes and its work. The work returns
// the export's boolean (true also for exports that answer a number).
struct Comando {
  std::string nome;
  std::string exportacao;
  std::string ajuda;
  std::string argumentos;  // "ARQUIVO", "MODULO NUMERO", ... (empty: none)
  std::vector<OpcaoComando> opcoes;
  std::function<bool(Ambiente&)> executa;
  bool abreDialogo = false;
  // For the filter dialogs: the controls that the answers by name fill.
  CamposDialogo campos{};
  // Whether it reads the machine settings: then a registry file must exist.
  bool usaRegistro = true;
  // Whether a notice of its dialog is the dialog's answer (a password it
  // refuses) rather than a refusal of what the command line asked.
  bool avisoEhResposta = false;
};

// Whether the command works on a company's data (its dialogs, files and
// integrations): then --empresa must name a company of the registry.
bool UsaEmpresa(const Comando& comando);

// How many plain arguments the command takes at most ("ARQUIVO..." any).
std::size_t MaximoPosicionais(const Comando& comando);

// The options that fill a filter dialog's controls by name (none without a
// dialog), each with its control.
std::vector<OpcaoComando> OpcoesDoDialogo(const CamposDialogo& campos);

// Every option a command takes, its own and those that fill its dialog.
std::vector<OpcaoComando> OpcoesDoComando(const Comando& comando);

const std::vector<Comando>& Comandos();
const Comando* ProcuraComando(const std::string& nome);

// Windows-1252 text of the library, as the terminal shows it.
std::string ParaTerminal(const std::string& texto);
// A text typed on the terminal, as the library takes it.
std::string DoTerminal(const std::string& texto);

}  // namespace qmx::cli
