#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/dados/RegistroCupomItem.h"
#include "plataforma/dados/RegistroEmissora.h"

namespace qmx::impressora {

// The partial totalizers of an ECF as its memories and the fiscal files
// name them.

// A rate's totalizer: its position in the ECF's table (two digits), "T"
// for ICMS or "S" for ISS, and the rate (four digits): "01T1800".
std::string CodigoAliquota(std::uint16_t posicao, char tipo, std::uint16_t aliquota);

// The totalizers of an ECF's rate table, by (type << 16 | rate).
std::map<int, std::string> CodigosAliquotas(const std::vector<REG_EMISSOR_ALIQUOTA>& aliquotas);

// An item's totalizer: substitution, exemption and non-taxation "F1",
// "I1", "N1" (services "FS1", "IS1", "NS1"); a taxed item its rate's code
// (empty when the table has no such rate).
std::string CodigoTotalizadorItem(const REG_EC_CX_CIPS& item, const std::map<int, std::string>& codigosAliquotas);

// The fixed totalizers of a Z reduction after its rates, in order, with
// their values (non-fiscal: the sum of its non-fiscal totalizers).
void TotalizadoresFixos(const REG_REDUCAO_ZPS& reducao, std::int64_t naoFiscal,
                        const std::function<void(const char*, std::int64_t)>& porTotalizador);

}  // namespace qmx::impressora
