#pragma once

#include <cstdint>

#include "calculo/CY.h"

// A cupom item of the point-of-sale data (the data server's record set).
// Only the fields that the cupom calculations use, in their order; the
// integration and the customer history add theirs. Text fields, when added, are fixed char arrays in Windows-1252.
typedef struct tagREG_EC_CX_CIPS
{
    std::int64_t ValorItem;       // eight-decimal raw (value times 10^8)
    CY ValorAssociado;            // reduced in the same proportion as ValorItem
    CY Aliquota;                  // the item's rate as a percentage (17.0000)
    std::uint8_t Excluido;        // non-zero: takes no part in the apportionment
    std::uint8_t Servico;         // non-zero: a service item
    std::uint8_t TipoTributacao;  // the item's tax kind
} REG_EC_CX_CIPS;
