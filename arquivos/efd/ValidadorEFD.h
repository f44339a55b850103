#pragma once

#include <memory>

#include "arquivos/RegrasValidacao.h"

namespace qmx::validacao {

// The pipe-delimited files of the EFD, whoever wrote them, against the
// published tables of the layout version their 0000 declares (COD_VER),
// kept as data beside this file (leiautes/):
//
// - EFD ICMS/IPI, every version from 001 (2008) to the one in force: each
//   register's fields (count, type, size, decimals, obligation), the
//   hierarchy (each child inside its parent, siblings in code order, at
//   most one of a register the table allows once), the blocks of the
//   version in order with their openings and closings, 9900 for every
//   register and the 9999 total, the codes a register refers to (COD_PART,
//   COD_ITEM, UNID, COD_NAT, COD_INF, COD_OBS) found in block 0, and the
//   Guia Prático's rules that decide acceptance: the totals of C100 against
//   its C190, CST against the values of C170 and C490, CFOP against the
//   direction of the operation, the document models and what each fills
//   (55 and 65 with their access key, 65 without participant, cancelled and
//   voided documents without values), dates within the period where the
//   Guia asks it, COD_MUN of the state of UF.
// - EFD-Contribuições: the registers of its version, the hierarchy, the
//   blocks and the counts.
//
// A version this program has no table of is one error and nothing else;
// one newer than its newest table is read by that table, with a warning.
// The validation program's signature block after 9999 is reported as
// information and left out of the counts. The SPED extract of the PAF-ECF
// (registers of blocks 0 and C without openings) is checked line by line.
std::unique_ptr<CValidadorLinhas> NovoValidadorEFD(CColetor& coletor, bool contribuicoes);

}  // namespace qmx::validacao
