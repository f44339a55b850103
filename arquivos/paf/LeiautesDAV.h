#pragma once

#include "arquivos/LeiauteFixo.h"

// The records of the DAV file, field by field. Its lines end in "\n" alone.
namespace qmx::dav {

using namespace qmx::leiaute;

// D1: the establishment (CNPJ, state and municipal registrations, legal name).
inline constexpr Campo kRegistroD1[] = {Lit("D1"), Num(14), Insc(14), Insc(14), X(50)};
// D2: a DAV. Branch CNPJ; the ECF's serial number, additional MF, type,
// brand and model; the COO of the DAV document, its number and date; the
// title; the total; the COO of the settling cupom; the ECF number; the
// customer's name and CPF or CNPJ.
inline constexpr Campo kRegistroD2[] = {Lit("D2"), Num(14),  X(20),        Lit(" "), X(7),  X(20), X(20), Num(6),
                                        X(13),     DataInv(), X(30),       Quantia(8, 2), Num(6), Num(3), X(40), Num(14)};
// D3: an item of a DAV. DAV number and date; item number; product code
// and description; quantity; unit; unit price, discount, increase and net
// total; tax situation and rate; cancelled; the decimals of the quantity
// and of the unit price.
inline constexpr Campo kRegistroD3[] = {Lit("D3"),     X(13),          DataInv(), Num(3),        X(14),
                                        X(100),        Quantia(7, 3),  X(3),      Quantia(8, 2), Quantia(8, 2),
                                        Quantia(8, 2), Quantia(14, 2), X(1),      Num(4),        X(1),
                                        Lit("3"),      Lit("2")};
// D9: the totals: CNPJ, state registration, the counts of D2 and D3 lines.
inline constexpr Campo kRegistroD9[] = {Lit("D9"), Num(14), Insc(14), Num(6), Num(6)};

static_assert(Largura(kRegistroD1) == 94);
static_assert(Largura(kRegistroD2) == 212);
static_assert(Largura(kRegistroD3) == 196);
static_assert(Largura(kRegistroD9) == 42);

}  // namespace qmx::dav
