#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qmx::processo {

// Runs a program (looked up in PATH) with no input, its standard output and
// standard error both on one pipe, waits for it to end and hands back
// everything it wrote. The arguments go to the program as they are, with no
// shell in between. Returns 0, or the system error code (Win32 numbering)
// of the step that failed: creating the pipe, starting the program (2 when
// it does not exist), reading or waiting.
std::uint32_t ExecutaComPipe(const std::vector<std::string>& argumentos, std::string& saida);

// The system's ping of a host with four echoes, as Windows's ping sends by
// default, the host never taken as an option.
std::vector<std::string> ComandoPing(const std::string& host);

// The full path of the running program's executable; empty when unknown.
std::string CaminhoPrograma();

}  // namespace qmx::processo
