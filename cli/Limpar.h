#pragma once

namespace qmx::cli {

struct Ambiente;

// qmx limpar [PASTA]: removes what killed runs left behind in the folder
// (the temporaries beside files being stored, the marked temporary files of
// the generated texts) and says how many files and bytes it freed; without
// a folder, the company's electronic-files folder and the system's
// temporary folder. Nothing that a live run holds is touched.
bool ExecutaLimpar(Ambiente& ambiente);

}  // namespace qmx::cli
