#pragma once

#include <filesystem>

namespace qmx::cli {

// Ctrl-C (SIGINT) and SIGTERM while a command runs: what this run was
// writing is removed (the partial files beside the files being stored, the
// temporaries and their marks, this run's temporary folder), "interrompido"
// is the last line and qmx ends with 130. The signals are taken by a thread
// of their own, so the work stops wherever it was; to be called before the
// library is loaded, so that its threads leave the signals to that one.
void PreparaInterrupcao(const std::filesystem::path& pastaTemporaria);

}  // namespace qmx::cli
