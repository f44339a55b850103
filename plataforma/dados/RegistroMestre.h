#pragma once

#include <cstdint>

#include "plataforma/calendario/NumeroDia.h"

// The point-of-sale master data of the company.
typedef struct _REG_EC_MESTREPS
{
    qmx::NumeroDia DataInicioSistema;   // day number: "data de início do sistema"
    std::uint16_t NaturezaVenda;        // nature of the product items (CFOP)
    std::uint16_t NaturezaVendaST;      // nature of items under tax substitution
    std::uint16_t NaturezaServico;      // nature of the service items
    std::uint16_t NaturezaProducao;     // nature of produced goods
    std::uint8_t DescontoISSQN;         // 1: discounts on ISSQN items are allowed
} REG_EC_MESTREPS;

// What an integration pass created in a back-office module for a date and
// ECF: the module ("CN", "EF", "ES", "FN") and the three numbers that name
// the record created there, so a later pass can remove it.
typedef struct _REG_EC_CHAVES_INTEGRACAOPS
{
    char Modulo[3];
    qmx::NumeroDia Data;
    std::uint16_t Emissora;
    std::int32_t SEV;
    std::int32_t FAC;
    std::int32_t COD;
} REG_EC_CHAVES_INTEGRACAOPS;

// The point-of-sale parameters of one branch.
typedef struct _REG_EC_MESTRE_FILIALPS
{
    std::uint16_t Filial;
    char UF[3];                         // two-letter state code
    std::uint8_t SemPreVenda;           // 0: pre-sales are used
    std::uint8_t SemDAV;                // 0: DAVs are used
} REG_EC_MESTRE_FILIALPS;
