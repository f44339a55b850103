#pragma once

#include <cstdint>

#include "plataforma/calendario/NumeroDia.h"

#include "plataforma/com/CY.h"

// The stock position of a product in a branch at the end of a day.
typedef struct _REG_ES_POSICAOPS
{
    std::uint16_t Filial;
    std::uint32_t Produto;
    qmx::NumeroDia Data;
    CY Quantidade;                      // may be negative
} REG_ES_POSICAOPS;

// An inventory balance of a branch at a date.
typedef struct _REG_ES_SALDOS_INVENTARIOPS
{
    std::uint16_t Filial;
    qmx::NumeroDia Data;
    std::uint32_t Produto;
    CY Quantidade;
    CY ValorUnitario;
    CY ValorTotal;
} REG_ES_SALDOS_INVENTARIOPS;
