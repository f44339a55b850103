#pragma once

#include "arquivos/LeiauteFixo.h"

// The records of the Estoque file, field by field.
namespace qmx::estoque {

using namespace qmx::leiaute;

// E1: the establishment and the ECF. CNPJ, state and municipal
// registrations, legal name; the ECF's serial number, additional MF, type,
// brand and model; the date and time of the stock position.
inline constexpr Campo kRegistroE1[] = {Lit("E1"), Num(14), Insc(14), Insc(14), X(50), X(20),
                                        Lit(" "),  X(7),    X(20),   X(20),   DataInv(), X(6)};
// E2: a product. CNPJ; code; description; unit; the sign of the quantity
// and its magnitude.
inline constexpr Campo kRegistroE2[] = {Lit("E2"), Num(14), X(14), X(50), X(6), X(1), Quantia(9, 3)};
// E9: the totals: CNPJ, state registration, the count of E2 lines.
inline constexpr Campo kRegistroE9[] = {Lit("E9"), Num(14), Insc(14), Num(6)};

static_assert(Largura(kRegistroE1) == 176);
static_assert(Largura(kRegistroE2) == 96);
static_assert(Largura(kRegistroE9) == 36);

}  // namespace qmx::estoque
