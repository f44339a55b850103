#pragma once

namespace qmx::cli {

struct Ambiente;

// Builds a demonstration company in a folder of its own and runs, through
// the loaded library, everything this build of the library can do, printing
// what it did and where each result went.
bool ExecutaDemo(Ambiente& ambiente);

}  // namespace qmx::cli
