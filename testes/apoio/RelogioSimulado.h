#pragma once

#include <string>

namespace qmx::testes {

// Registry lines that set the library's clock to a simulated date and time
// (DD/MM/AAAA and HH:MM:SS) from this instant on.
std::string RelogioSimulado(const std::string& data, const std::string& hora);

}  // namespace qmx::testes
