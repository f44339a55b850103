#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qmx {

// The name of a Sintegra or Venda do Período file: the certification
// report number, today's day number (8 digits) and the seconds since
// midnight (6 digits). Two files made in the same second would share it, so
// a name already taken in `pasta` moves on to the next free second; a name
// another terminal is writing at this moment (its file exists only once
// whole) is taken as well.
std::string NomeArquivoEletronico(const std::string& pasta);

}  // namespace qmx
