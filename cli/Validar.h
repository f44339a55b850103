#pragma once

namespace qmx::cli {

struct Ambiente;

// qmx validar ARQUIVO...: each file checked against its published layout
// and its EAD line verified; a line per file with the verdict and one per
// problem (or, with --json, one JSON document for programs). True when
// every file is valid.
bool ExecutaValidar(Ambiente& ambiente);

}  // namespace qmx::cli
