#pragma once

#include "cli/EmpresaDemo.h"

namespace qmx::dados {
class CGravadorEmpresa;
}

namespace qmx::cli {

// Varies a varied company's registers after its month is written, each
// choice drawn from its seed, as real stores differ: the branch industrial
// or not, in Simples Nacional (CSOSN) or not, its CSTs with foreign origin
// (1, 2), its registration of 15 characters with punctuation, its fax empty
// with an area code; the accountant known by a CNPJ or by a CPF alone; a
// participant deleted after its nota; a product that is only in the
// inventory; management reports logged as the cheque and DAV kinds (13,
// 14); the ISSQN discount flag; a Z reduction whose rate totalizer is
// split over two positions of the same rate. Each choice keeps the data
// true to itself (a split totalizer keeps its sum).
void AplicaVariedade(dados::CGravadorEmpresa& gravador, const CadastrosDemo& cadastros, const OpcoesDemo& opcoes);

}  // namespace qmx::cli
