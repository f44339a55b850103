#pragma once

#include "arquivos/LeiauteFixo.h"

// The records of the Movimentos por ECF file. R02 to R07 begin with the
// ECF's head: serial number, the additional MF letter (a blank), model and
// user number "01".
namespace qmx::movimentos {

using namespace qmx::leiaute;

inline constexpr Campo kR01[] = {
    Lit("R01"), X(20), Lit(" "), Lit("ECF-IF "), X(20), X(20), X(10), Num(8), Num(6), Num(3), Num(14), Insc(14),
    Num(14),    Insc(14), Num(14),  X(40),          X(40), X(10), X(32), DataInv(), DataInv(), X(4)};
inline constexpr Campo kR02[] = {Lit("R02"), X(20), Lit(" "), X(20), Lit("01"), Num(6),         Num(6),
                                 Num(6),     DataInv(), DataInv(), Num(6), Quantia(14, 2), X(1)};
inline constexpr Campo kR03[] = {Lit("R03"), X(20), Lit(" "), X(20), Lit("01"), Num(6), X(7), Quantia(13, 2)};
inline constexpr Campo kR04[] = {Lit("R04"), X(20),          Lit(" "),      X(20),     Lit("01"),      Num(6),
                                 Num(6),     DataInv(),      Quantia(14, 2), Quantia(13, 2), Lit("V"), Quantia(13, 2),
                                 Lit("V"),   Quantia(14, 2), X(1),          Num(13),   Lit("D"),       X(40),
                                 Num(14)};
// R05 carries, after the totalizer, the item's cancellation indicator (S or
// N) and the quantity and value cancelled, as the published record of 268
// positions and the detail memory's E15 have them (earlier versions left the
// indicator out, and every later field sat one position to the left).
inline constexpr Campo kR05[] = {Lit("R05"),    X(20),          Lit(" "),     X(20),       Lit("01"),      Num(6),
                                 Num(6),        Num(3),         X(14),        X(100),      Quantia(7, 3),  X(3),
                                 Quantia(8, 2), Quantia(8, 2),  Num(8),       Quantia(14, 2), X(7),        X(1),
                                 Quantia(7, 3), Quantia(13, 2), Num(13),      Lit("T"),    X(1),           Lit("3"),
                                 Lit("2")};
inline constexpr Campo kR06[] = {Lit("R06"), X(20), Lit(" "), X(20), Lit("01"), Num(6),
                                 Num(6),     Num(6), Num(4),  X(2),  DataInv(), Num(6)};
inline constexpr Campo kR07[] = {Lit("R07"), X(20), Lit(" "), X(20),          Lit("01"), Num(6), Num(6),
                                 Num(6),     X(15), Quantia(13, 2), Lit("N"), Num(13)};

static_assert(Largura(kR01) == 3 + 20 + 1 + 7 + 20 + 20 + 10 + 8 + 6 + 3 + 14 + 14 + 14 + 14 + 14 + 40 + 40 + 10 +
                                   32 + 8 + 8 + 4);
static_assert(Largura(kR05) == 3 + 43 + 6 + 6 + 3 + 14 + 100 + 7 + 3 + 8 + 8 + 8 + 14 + 7 + 1 + 7 + 13 + 13 + 1 + 1 + 2);

}  // namespace qmx::movimentos
