#pragma once

#include "arquivos/LeiauteFixo.h"

// The registers of the Sintegra file, field by field; every one is 126
// characters wide before its line end.
namespace qmx::sintegra {

using namespace qmx::leiaute;

inline constexpr int kLarguraRegistro = 126;

// The state registrations are text aligned to the left (Convênio ICMS
// 57/95; earlier versions padded them with zeros as numbers), written by
// InscricaoSintegra.
// 10: master of the establishment.
inline constexpr Campo kRegistro10[] = {Lit("10"), D(14), X(14), X(35), X(30), X(2), D(10), Dt(), Dt(), N(1), N(1), N(1)};
// 11: complementary data. Number and telephone are numeric fields of the
// Convênio (earlier versions wrote them as text).
inline constexpr Campo kRegistro11[] = {Lit("11"), X(34), D(5), X(22), X(15), D(8), X(28), D(12)};
// 50: a nota fiscal's CFOP and rate group, with that group's own values.
inline constexpr Campo kRegistro50[] = {Lit("50"), D(14), X(14), Dt(),     X(2),     X(2),     X(3),     N(6),     D(4),
                                        Lit("P"),  V(13, 2), V(13, 2), V(13, 2), V(13, 2), V(13, 2), V(4, 2), X(1)};
// 54: an item of a nota fiscal.
inline constexpr Campo kRegistro54[] = {Lit("54"), D(14),     X(2),      X(3),      N(6),      D(4),      X(3),    N(3),
                                        X(14),     V(11, 3),  V(12, 2),  V(12, 2),  V(12, 2),  V(12, 2),  V(12, 2), V(4, 2)};
// 60M: an ECF's day.
inline constexpr Campo kRegistro60M[] = {Lit("60"), Lit("M"), Dt(),  X(20), N(3),      Lit("2D"),  N(6),
                                         N(6),      N(6),     N(3),  V(16, 2), V(16, 2), Brancos(37)};
// 60A: a totalizer of the day.
inline constexpr Campo kRegistro60A[] = {Lit("60"), Lit("A"), Dt(), X(20), X(4), V(12, 2), Brancos(79)};
// 60D: the day's sums of an item.
inline constexpr Campo kRegistro60D[] = {Lit("60"), Lit("D"), Dt(),     X(20), X(14),     V(13, 3),
                                         V(16, 2),  V(16, 2), X(4),     V(13, 2), Brancos(19)};
// 60I: a cupom item.
inline constexpr Campo kRegistro60I[] = {Lit("60"), Lit("I"), Dt(),     X(20),    Lit("2D"), N(6),     N(3),
                                         X(14),     V(13, 3), V(13, 2), V(12, 2), X(4),      V(12, 2), Brancos(16)};
// 60R: the month's sums of an item.
inline constexpr Campo kRegistro60R[] = {Lit("60"), Lit("R"), MesAno(), X(14), V(13, 3), V(16, 2), V(16, 2), X(4),
                                         Brancos(54)};
// 61: a day of consumer notas, model 02 (nota fiscal de venda a
// consumidor) of the Convênio's table; earlier versions wrote "1B", the EFD's code
// of the nota avulsa.
inline constexpr Campo kRegistro61[] = {Lit("61"), Brancos(14), Brancos(14), Dt(),     Lit("02"), Lit("U  "),
                                        Brancos(2), N(6),       N(6),        V(13, 2), V(13, 2),  V(12, 2),
                                        V(13, 2),  V(13, 2),    V(4, 2),     Brancos(1)};
// 61R: the month's sums of an item of consumer notas. The rate is a
// number in the Convênio: an item not taxed by ICMS has 0000 (earlier versions
// wrote its tax letter there).
inline constexpr Campo kRegistro61R[] = {Lit("61"), Lit("R"), MesAno(), X(14),      V(13, 3),
                                         V(16, 2),  V(16, 2), V(4, 2),  Brancos(54)};
// 75: an item used in the file.
inline constexpr Campo kRegistro75[] = {Lit("75"), Dt(),    Dt(),    X(14),   X(8),     X(53),
                                        X(6),       V(5, 2), V(4, 2), V(5, 2), V(13, 2)};
// 90: the totals; nine (type, count) pairs, a pair with nothing to say
// written as ten blanks.
inline constexpr Campo kPar90[] = {N(2), N(8)};
inline constexpr Campo kCabeca90[] = {Lit("90"), D(14), X(14)};
inline constexpr Campo kPe90[] = {Brancos(5), N(1)};

static_assert(Largura(kRegistro10) == kLarguraRegistro);
static_assert(Largura(kRegistro11) == kLarguraRegistro);
static_assert(Largura(kRegistro50) == kLarguraRegistro);
static_assert(Largura(kRegistro54) == kLarguraRegistro);
static_assert(Largura(kRegistro60M) == kLarguraRegistro);
static_assert(Largura(kRegistro60A) == kLarguraRegistro);
static_assert(Largura(kRegistro60D) == kLarguraRegistro);
static_assert(Largura(kRegistro60I) == kLarguraRegistro);
static_assert(Largura(kRegistro60R) == kLarguraRegistro);
static_assert(Largura(kRegistro61) == kLarguraRegistro);
static_assert(Largura(kRegistro61R) == kLarguraRegistro);
static_assert(Largura(kRegistro75) == kLarguraRegistro);
static_assert(Largura(kCabeca90) + 9 * Largura(kPar90) + Largura(kPe90) == kLarguraRegistro);

}  // namespace qmx::sintegra
