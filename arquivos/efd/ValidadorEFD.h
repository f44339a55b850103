#pragma once

#include <vector>

#include "arquivos/RegrasValidacao.h"

namespace qmx::validacao {

// The pipe-delimited files of the EFD layout against the Guia Prático da
// EFD ICMS/IPI of their version (COD_VER 004, the layout of 2011; 006, the
// layout of the second half of 2012): every register's field count and
// field forms, the hierarchy (each child after its parent, siblings in
// code order), the block openings and closings with their counts, 9900 for
// every register and the 9999 total, the cross-references (COD_PART in
// 0150, COD_ITEM in 0200, units in 0190, natures in 0400, observations in
// 0460), the dates inside the period of 0000, and the documents the Guia
// writes without values (cancelled, denied and voided notas).
//
// The SPED extract (COD_VER 004 without 0001) is an extract, not a whole
// EFD file: it has no block openings, closings or block 9, and is checked
// line by line and by its cross-references.
void ValidaEFD(const std::vector<Linha>& linhas, CColetor& coletor);

}  // namespace qmx::validacao
