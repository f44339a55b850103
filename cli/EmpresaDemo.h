#pragma once

#include <iosfwd>
#include <string>

namespace qmx::cli {

// What the demonstration company holds, for the summary.
struct ResumoEmpresaDemo {
  int filiais = 0;
  int emissoras = 0;
  int usuarios = 0;
  int municipios = 0;
};

// Writes a realistic company into a new SQLite database (the file is made
// anew): branches in different states with their municipalities and IBGE
// codes, ECFs with rate tables (the first one carries the emulated
// printer's serial number), users with their branch permissions, the
// point-of-sale master data. Size 1 is two branches and three ECFs; each
// step adds as many again, for benchmarks.
ResumoEmpresaDemo CriaEmpresaDemo(const std::string& arquivo, int tamanho, const std::string& serieEmulada);

}  // namespace qmx::cli
