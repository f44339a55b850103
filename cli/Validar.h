#pragma once

#include <ostream>
#include <string>

namespace qmx::cli {

struct Ambiente;

// qmx validar ARQUIVO...: each file checked against its published layout
// and its EAD line verified; a line per file with the verdict and one per
// problem (or, with --json, one JSON document for programs). True when
// every file is valid.
bool ExecutaValidar(Ambiente& ambiente);

// The same check of one file, shown in one line after `recuo` (the kind of
// file, its lines, the verdict and the counts), then its errors, at most
// ten; warnings are counted only. True when the file is valid.
bool MostraValidacao(std::ostream& saida, const std::string& caminho, const std::string& recuo);

}  // namespace qmx::cli
