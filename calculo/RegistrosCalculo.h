#pragma once

#include <cstdint>

#include "calculo/CY.h"

// Records of the cupom calculations, passed by pointer or
// reference and filled in place. An "eight-decimal raw" field holds a
// CZTCurrencyEx8 raw value (value times 10^8) although it may be typed CY.

// One item line.
typedef struct tagREG_QMXCALCULO_VALOR_ITEM_CUPOM
{
    std::int64_t ValorUnitario;       // in/out, eight-decimal raw
    CY ValorAcrescimo;                // in: surcharge per unit as an amount
    CY Quantidade;                    // in/out
    CY Desconto;                      // in/out: amount per unit or percentage
    CY TotalDesconto;                 // out
    CY ValorBruto;                    // out
    CY ValorLiquido;                  // out
    CY AcrescimoUnitario;             // out
    CY TotalAcrescimo;                // out
    std::uint16_t PercentualAcrescimo; // in: hundredths of a percent
    std::uint8_t DecimaisValor;       // in/out
    std::uint8_t DecimaisQuantidade;  // in/out
    std::uint8_t DescontoPercentual;  // in: 1 = Desconto is a percentage
    std::uint8_t AcrescimoNoUnitario; // in: non-zero = surcharge added into ValorUnitario
    std::uint8_t AcrescimoPercentual; // in: non-zero = surcharge is PercentualAcrescimo of the price
    std::uint8_t Arredondamento;      // in: 1 = ValorBruto rounded half to even, else truncated
} REG_QMXCALCULO_VALOR_ITEM_CUPOM;

// One group of the apportionment.
typedef struct tagREG_QMXCALCULO_TRIBUTACAO
{
    std::uint8_t Tipo;      // tax kind
    std::uint16_t Aliquota; // hundredths of a percent
    std::int64_t Valor;     // eight-decimal raw: sum of the group's ValorItem
} REG_QMXCALCULO_TRIBUTACAO;

// One item of the approximate taxes.
typedef struct tagREG_QMXCALCULO_IMPOSTOS_ITEM
{
    CY Valor;
    CY ValorInformado;
    std::uint16_t PercentualAgrupado; // hundredths of a percent, per group of equal rates; 0 = none
    std::uint16_t Percentual2;        // hundredths of a percent, per item; 0 = none
    std::uint16_t Percentual3;        // hundredths of a percent, per item; 0 = none
} REG_QMXCALCULO_IMPOSTOS_ITEM;

// The approximate taxes of a cupom.
typedef struct tagREG_QMXCALCULO_IMPOSTOS_CUPOM
{
    CY TotalAgrupado;
    CY TotalInformado;
    CY Total2;
    CY Total3;
} REG_QMXCALCULO_IMPOSTOS_CUPOM;
