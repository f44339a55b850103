#pragma once

#include "arquivos/LeiauteFixo.h"

// The records of the Tabela de Produtos file, field by field.
namespace qmx::tabela_produtos {

using namespace qmx::leiaute;

// P1: the establishment (CNPJ, state and municipal registrations, legal name).
inline constexpr Campo kRegistroP1[] = {Lit("P1"), Num(14), Insc(14), Insc(14), X(50)};
// P2: a product or service. CNPJ; code (zeros on the left); description;
// unit; rounding indicator; production indicator; tax situation; rate;
// unit price of the price table.
inline constexpr Campo kRegistroP2[] = {Lit("P2"), Num(14), Num(14), X(50), X(6),
                                        Lit("A"),  X(1),    X(1),    Num(4), Quantia(12, 2)};
// P9: the totals: CNPJ, state registration, the count of P2 lines.
inline constexpr Campo kRegistroP9[] = {Lit("P9"), Num(14), Insc(14), Num(6)};

static_assert(Largura(kRegistroP1) == 94);
static_assert(Largura(kRegistroP2) == 105);
static_assert(Largura(kRegistroP9) == 36);

}  // namespace qmx::tabela_produtos
