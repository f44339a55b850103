#pragma once

#include <string>

namespace qmx {

// The code of an ECF model for the file names of the fiscal authority: the
// model text with its blanks removed, in capitals, is searched for the
// names of a table; longer names are tried before the names they contain
// ("IFST1000" before "IFST100"). Empty when no name occurs in it.
std::string CodigoModeloECF(const std::string& modelo);

}  // namespace qmx
