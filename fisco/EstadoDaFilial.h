#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "frame/ContextoBiblioteca.h"

namespace qmx {

// The two-letter state of the branch the authenticated-file list is made
// for, from the point-of-sale master data. Branch 0 stands for the branch
// of the ECF connected to this computer. Nothing when there is no such ECF
// or a data server answers with a failure.
std::optional<std::string> EstadoDaFilial(const TriploConexao& triplo, std::uint16_t filial);

}  // namespace qmx
