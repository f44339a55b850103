#pragma once

namespace qmx::dados {

// One versioned SQL script compiled into the library; the list ends with a
// version 0 entry.
struct MigracaoEmbutida {
  int versao;
  const char* nome;
  const char* sql;
};

extern const MigracaoEmbutida kMigracoesEmbutidas[];

}  // namespace qmx::dados
