#pragma once

#include <cstdint>

#include "plataforma/calendario/NumeroDia.h"

#include "plataforma/com/CY.h"

// A DAV (documento auxiliar de venda) of an ECF and its items.
typedef struct tagREG_DAVPS
{
    std::uint32_t Id;
    std::uint16_t Filial;
    std::uint16_t Emissora;
    std::uint32_t Numero;
    qmx::NumeroDia Data;
    CY Valor;
    std::uint32_t COODAV;               // COO of the DAV document
    std::uint32_t COOCupom;             // COO of the cupom fiscal that settled it
    std::uint32_t Cliente;
    std::uint16_t QuantidadeItens;
} REG_DAVPS;

typedef struct tagREG_DAV_ITEMPS
{
    std::uint32_t Dav;
    std::uint16_t Item;
    std::uint32_t Produto;
    CY Quantidade;
    CY ValorUnitario;
    CY Desconto;
    CY Acrescimo;
    CY ValorTotal;
    char Tributacao;                    // tax code: 'T', 'F', 'I', 'N', 'S', 'D', 'R', ...
    std::uint16_t Aliquota;             // hundredths of a percent
    std::uint8_t Cancelado;
} REG_DAV_ITEMPS;
