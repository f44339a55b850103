#pragma once

#include <string_view>
#include <vector>

namespace qmx::validacao {

// A published layout table carried by the program: its file name and its
// tab-separated text (the first line names the columns; lines starting
// with '#' are comments).
struct LeiauteEmbutido {
  const char* nome;
  const char* texto;
};
extern const LeiauteEmbutido kLeiautesEmbutidos[];

// The rows of the table of that file name, each split at its tabs; the
// header and the comments left out. Throws std::logic_error when the
// program carries no such table (a build fault).
std::vector<std::vector<std::string_view>> LinhasDoLeiaute(std::string_view nome);

}  // namespace qmx::validacao
