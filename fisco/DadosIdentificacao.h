#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fisco/RelatorioIdentificacao.h"
#include "frame/ContextoBiblioteca.h"

namespace qmx {

// What the identification report needs from the data servers: the state of
// the connected ECF's branch and every ECF of the company, in list order,
// each with the state of its own branch where the report filters by state.
struct DadosIdentificacao {
  std::string uf;
  std::vector<ECFIdentificacao> ecfs;
};

// Reads them, checking first that this computer has an ECF (message 122
// of module "EC" otherwise) and, when ECFs are controlled per branch, that
// its branch may use ECFs (messages 162 and 161). Nothing when a check or a
// read fails; the operator has then been told where the catalogue has a
// message for it.
std::optional<DadosIdentificacao> LeDadosIdentificacao(const TriploConexao& triplo);

}  // namespace qmx
