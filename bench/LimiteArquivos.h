// How fast a file could possibly be made from the company's database: the
// rows it is made of, chosen from the file's published layout (not from the
// generator's reads), read the fastest way each engine allows, with every
// column read touched (every column of the rows a line shows; of the rows a
// file only sums, the columns summed), then as many bytes written through a
// 64 KiB buffer, digested as they go, signed with an EAD line (a key of the
// limit's own: nothing of the library's signing is used) and flushed to the
// disk (fsync), as a fiscal file must be before it is handed over. A
// generator's benchmark divides its time by this one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qmx::bench {

// The branch, the period (days as the database keeps them) and, for the
// files made per ECF, the ECF the queries are asked for: ?1 to ?4 in their
// text.
struct PeriodoLimite {
  std::int64_t filial = 1;
  std::int64_t inicial = 0;
  std::int64_t final = 0;
  std::int64_t emissora = 1;
};

// The rows a file is made of, as queries in the order the file lays them
// out. The layout's record width (with CR LF) is the width of the lines
// written in the file's place (0: variable lines, 128 bytes written). A
// file the library hands over unsigned (the SPED extract) is written and
// flushed, neither digested nor signed.
struct LimiteArquivo {
  std::vector<std::string> consultas;
  int largura = 0;
  bool assinado = true;
};

// The files (Movimentos of the ECF ?4, the others of every ECF of the
// branch): "Sintegra", "ExtratoSped", "VendaPeriodo", "Movimentos",
// "DAVs", "TabelaProdutos", "Estoque", "MeiosPagamento". Aborts for another.
const LimiteArquivo& LimiteDe(const std::string& arquivo);

// The reads in one read transaction on SQLite (no mutex, columns read by
// their declared type) or on PostgreSQL (one REPEATABLE READ snapshot, each
// query streamed by COPY in the binary format). Answer the rows read.
long long LeNoSQLite(const std::string& arquivo, const LimiteArquivo& limite, const PeriodoLimite& periodo);
long long LeNoPostgres(const std::string& conexao, const LimiteArquivo& limite, const PeriodoLimite& periodo);

// bytes in lines of the limit's width (the last one cut short), into a new
// file at caminho; for a signed file, digested as they are written and
// ending with the EAD line of their digest.
void EscreveEDigere(const std::string& caminho, std::uintmax_t bytes, const LimiteArquivo& limite);

}  // namespace qmx::bench
