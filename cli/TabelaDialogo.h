#pragma once

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace qmx::cli {

// A static text of a dialog by its control, with the label shown before it.
using RotuloControle = std::pair<int, std::string>;
// A report list of a dialog by its control, with the title shown above it.
using TituloLista = std::pair<int, std::string>;

// Writes what a dialog showed when it closed, read from the host's record
// file: its static texts beside their labels, then each report list as a
// table whose columns keep the list's alignment. Nothing when the record
// holds no such dialog.
void MostraDialogoRegistrado(const std::string& arquivoRegistro, int idModelo,
                             const std::vector<RotuloControle>& textos, const std::vector<TituloLista>& listas,
                             std::ostream& saida);

}  // namespace qmx::cli
