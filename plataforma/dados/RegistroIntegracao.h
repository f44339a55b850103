#pragma once

#include <cstdint>

#include "plataforma/calendario/NumeroDia.h"

#include "plataforma/com/CY.h"

// What the integration passes write into the back office, as the servers
// take it. Texts are zero-terminated Windows-1252; amounts and quantities
// hold the value times 10 000.

// A stock movement: a negative quantity leaves the storage place.
typedef struct _REG_ES_MOVIMENTOPS
{
    std::uint32_t Id;                   // given by the server when written
    std::uint16_t Filial;
    std::uint16_t LocalEstoque;
    std::uint32_t Produto;
    qmx::NumeroDia Data;
    CY Quantidade;
    CY Valor;                           // the value its accounting posts
    std::uint16_t Emissora;
    std::uint32_t Cupom;                // the cupom's key
    std::uint16_t Item;
    char Cfop[6];
    std::uint16_t TipoDocumento;
    char Documento[21];                 // the cupom's document key
    std::uint32_t EstornoDe;            // the exit this movement returns; 0: none
} REG_ES_MOVIMENTOPS;

// An accounting entry: one debit and one credit of the same value, with the
// managerial account that the apportionment gave it.
typedef struct tagRegContabilidade_ps
{
    std::uint16_t Filial;
    qmx::NumeroDia Data;
    char ContaDebito[21];
    char ContaCredito[21];
    CY Valor;
    char Historico[101];
    char Gerencial[21];
    char Origem[3];                     // "CN", "ES"
    std::int32_t Chave;                 // the integration number (COD); 0: none
    std::uint32_t Movimento;            // the stock movement accounted; 0: none
    std::uint16_t Emissora;
} REG_CONTABILIDADEPS;

// A line of the fiscal book: the items of a day and ECF with one product
// (or service) and rate.
typedef struct _REG_LIVRO_FISCALPS
{
    std::uint16_t Filial;
    qmx::NumeroDia Data;
    std::uint16_t Emissora;
    std::uint16_t Natureza;
    char Cfop[6];
    std::uint32_t Produto;              // 0 for a service line
    std::uint32_t Servico;              // 0 for a product line
    std::uint16_t Aliquota;             // hundredths of a percent
    char SituacaoTributaria[4];
    char Unidade[7];
    CY Quantidade;
    CY Valor;
    CY BaseICMS;
    CY ICMS;
    std::uint16_t AliquotaPIS;
    std::uint16_t AliquotaCOFINS;
    char Historico[61];
    std::int32_t Chave;
    char Modelo[3];                     // "2D" a cupom fiscal, "02" a consumer nota
    char Tributacao;                    // the items' tax letter: 'T', 'F', 'I', 'N', 'S' (a service)
} REG_LIVRO_FISCALPS;

// A receivable of the financial module.
typedef struct _REG_TITULO_RECEBERPS
{
    std::uint16_t Filial;
    qmx::NumeroDia Data;
    std::uint16_t Emissora;
    std::uint32_t Cupom;                // the cupom's number (COO); 0 for a day's total
    std::uint32_t Cliente;
    std::uint16_t Forma;                // means of payment
    std::uint32_t Numero;               // title number
    qmx::NumeroDia Vencimento;
    CY Valor;
    char Conta[21];                     // entry account of the means
    char Historico[301];                // the cupom's text and, for a card or cheque, its holder's
    std::int32_t Chave;
    std::uint16_t TipoDocumento;        // an installment's document type; 0 for the others
    qmx::NumeroDia DataLiquidacao;      // the day it was settled (received in money at the till); 0: open
} REG_TITULO_RECEBERPS;
