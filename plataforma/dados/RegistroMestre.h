#pragma once

#include <cstdint>

// The point-of-sale master data of the company.
typedef struct _REG_EC_MESTREPS
{
    std::uint16_t DataInicioSistema;    // day number: "data de início do sistema"
    std::uint16_t NaturezaVenda;        // nature of the product items (CFOP)
    std::uint16_t NaturezaVendaST;      // nature of items under tax substitution
    std::uint16_t NaturezaServico;      // nature of the service items
    std::uint16_t NaturezaProducao;     // nature of produced goods
    std::uint8_t DescontoISSQN;         // 1: discounts on ISSQN items are allowed
} REG_EC_MESTREPS;

// The point-of-sale parameters of one branch.
typedef struct _REG_EC_MESTRE_FILIALPS
{
    std::uint16_t Filial;
    char UF[3];                         // two-letter state code
    std::uint8_t SemPreVenda;           // 0: pre-sales are used
    std::uint8_t SemDAV;                // 0: DAVs are used
} REG_EC_MESTRE_FILIALPS;
