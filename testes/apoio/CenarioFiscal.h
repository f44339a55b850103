#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <vector>
#include <string>

#include "apoio/MovimentoTeste.h"
#include "plataforma/ui/HostRoteirizado.h"

namespace qmx::testes {

// The company of the digital-bookkeeping files (the SPED extract and the
// Venda do Período file): branch 1 in São Paulo with its accountant, its
// SUFRAMA and two substitute registrations; ECFs 1, 2 and 3; a point-of-sale
// master whose natures give the ECF items' CFOPs; the clock at 06/12/2026
// 10:00; the machine's local folder ("LocalTorvo") in a folder of its own.
// Movimento() states a few days of November 2026 that reach every register
// and its corners (see the .cpp).
class CenarioFiscal {
 public:
  static const std::uint16_t kDia1, kDia2, kDia3, kDia4;

  // Without `pastaLocal` the registry has no "LocalTorvo" value.
  explicit CenarioFiscal(MotorTeste motor = MotorTeste::SQLite, bool pastaLocal = true);

  void Movimento();

  // The text of a file in a folder, or empty when it is not there.
  static std::string Le(const std::filesystem::path& arquivo);
  // The files of a folder (none when it does not exist).
  static std::vector<std::filesystem::path> Arquivos(const std::filesystem::path& pasta);

  std::filesystem::path PastaLocal() const { return local.Pasta(); }
  std::filesystem::path PastaArquivos() const { return empresa.PastaEC() / "Arquivos-Eletronicos"; }

  EmpresaTeste empresa;
  PastaTemporaria local;
  ui::HostRoteirizado host;
  ui::HostTemporario ativo;
  MovimentoTeste m;
};

// Compares with a golden file of testes/arquivos/dados, checked by hand; a
// difference leaves what was made beside the test's temporary files.
void ConfereGoldenEFD(const std::string& gerado, const std::string& nome);
std::string GoldenEFD(const std::string& nome);

// Checks a pipe-delimited file against its own lines: every line starts and
// ends with a bar and ends in CR LF; the 9900 lines count each register as
// it occurs (and only registers that occur); each block's closing line
// counts the block's lines; 9999 counts every line. Failures are reported
// as test failures; the lines by register come back.
std::map<std::string, int> ConfereContagens(const std::string& arquivo);

}  // namespace qmx::testes
