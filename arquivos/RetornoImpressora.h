#pragma once

#include <optional>
#include <string>

namespace qmx {

// What the dialogs of the fiscal-memory and MFD files ask the printer layer
// alike, in the library's path form ("\" between folders).
namespace retorno_impressora {

// The printer's serial number as it goes into file names (a character no
// file name can hold becomes "_"); nothing when the printer does not answer.
std::optional<std::string> NumeroSerie();

// The printer model of this computer ("Modelo" in the registry), in lower
// case; empty when none is set.
std::string ModeloMinusculo();

// The folder of the printer layer's answer file: its path up to and
// including the last "\" (empty when the path has none); nothing when the
// layer cannot tell the path.
std::optional<std::string> PastaRetorno();

// The name of an Ato COTEPE 17/04 file as the printer layer writes it:
// "%-20s_%s_%s.txt" with the serial number (left-aligned, blanks up to 20
// characters, never cut), the initial and the final value of the range.
std::string NomeAtoCotepe(const std::string& serie, const std::string& inicial, const std::string& final);

// A text without its "/" characters ("15/06/2024" gives "15062024").
std::string SemBarras(const std::string& texto);

// Signs the printer layer's answer file where it lies; when there is no
// room for its EAD line, a box with the title says so and `semEspaco` is
// set (other failures are the caller's to tell, or not).
bool AssinaRetorno(const std::string& arquivo, const std::string& titulo, bool* semEspaco = nullptr);

// Deletes a file of the library's path form when it exists.
void ApagaSeExiste(const std::string& caminho);

}  // namespace retorno_impressora
}  // namespace qmx
