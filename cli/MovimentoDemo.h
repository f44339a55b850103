#pragma once

#include "cli/EmpresaDemo.h"

namespace qmx::cli {

// Writes a month (November 2026) of the company's movement over the
// registers and catalogue already written: every ECF's cupons with their
// items, payments and installments, its document log and a Z reduction per
// working day (summed by CApuracaoReducaoZ from that day's cupons, so the
// two always agree), consumer notas kept with the cupons, DAVs, notas
// fiscais, the branches' stock positions day by day and their inventory on
// the last day. What happens comes from a pseudo-random generator with a
// fixed seed and no clock: the same options always write the same rows.
// Each ECF-day is one transaction.
//
// As in an ECF's memory, COO, CCF, CRZ and CRO of every ECF count up
// without gaps (the document log and the reduction take COOs of their
// own; the reduction takes the day's last one), the grand total carries
// from day to day, and what a cupom received, less the change and the other
// cash deductions (means 252, 253 and 255), is its total.
ContagemMovimentoDemo GravaMovimentoDemo(dados::CGravadorEmpresa& gravador, const CadastrosDemo& cadastros,
                                         const OpcoesDemo& opcoes);

}  // namespace qmx::cli
