#pragma once

#include <cstdint>
#include <string>

// Text of a scaled integer (value times 10^nEscala) with nDecimais decimals
// (nDecimais <= nEscala; the dropped digits are cut): "," as the decimal
// separator, "." between groups of three integer digits, a leading zero before
// the separator and a leading minus sign for negatives, as the pt-BR number
// format of the platform gives them: 1.234,56 and -0,50.
std::string QMXFormatarValorFixo(std::int64_t nValor, int nEscala, int nDecimais);
