#pragma once

#include <cstdint>

#include "plataforma/com/CY.h"

// A cupom item of the point-of-sale data (the cash server's record). The
// first six fields are those the cupom calculations use, in their order;
// the files, the integration and the customer history read the rest.
typedef struct tagREG_EC_CX_CIPS
{
    std::int64_t ValorItem;       // eight-decimal raw (value times 10^8): the net item value
    CY ValorAssociado;            // reduced in the same proportion as ValorItem; the cash data keep none (0)
    CY Aliquota;                  // the item's rate as a percentage (17.0000)
    std::uint8_t Excluido;        // non-zero: takes no part in the apportionment
    std::uint8_t Servico;         // non-zero: a service item
    std::uint8_t TipoTributacao;  // the item's tax letter: 'T', 'F', 'I', 'N' (services: 'S' or the same letters)
    std::uint32_t Cupom;          // the cupom's key (REG_EC_CXPS::Id)
    std::uint16_t Item;           // item number within the cupom, from 1
    std::uint32_t Codigo;         // product code, or service code when Servico
    char Descricao[101];          // as printed on the cupom
    CY Quantidade;
    CY ValorUnitario;
    CY Desconto;                  // the item's own discount
    CY ValorTotal;                // quantity times unit value less the discount
    std::uint16_t AliquotaCentesimos;  // the rate in hundredths of a percent
    std::uint8_t Cancelado;
    std::uint8_t IntegradoEstoque;     // 1: the item's stock movements were written and accounted
    char CST[4];                       // the tax situation it was sold under (empty for a service)
    std::uint16_t Unidade;             // its unit as sold (0: none)
    char NCM[11];                      // a product's NCM as sold
} REG_EC_CX_CIPS;
