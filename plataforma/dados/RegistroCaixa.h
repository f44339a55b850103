#pragma once

#include <cstdint>

#include "plataforma/calendario/NumeroDia.h"

#include "plataforma/com/CY.h"
#include "plataforma/dados/RegistroCupomItem.h"

// The ECF cash data as the cash server fills them: cupons with their
// payments and installments, Z reductions with their totalizers, and the
// ECF's document log. Dates are day numbers, times HHMMSS.

// Status of a cash document that is a consumer nota of model 02 (covering
// the numbers NumeroInicial to NumeroFinal) rather than a cupom fiscal. The
// files leave these out of the cupom records and list them on their own.
constexpr std::uint8_t QMX_STATUS_NOTA_CONSUMIDOR = 4;

typedef struct tagREG_EC_CXPS
{
    std::uint32_t Id;
    std::uint16_t Filial;
    std::uint16_t Emissora;             // ECF number
    qmx::NumeroDia Data;
    std::int32_t Hora;
    std::uint32_t COO;
    std::uint32_t CCF;
    std::uint32_t Sequencia;            // sequence key of the day
    std::uint8_t Status;
    std::uint8_t Origem;                // 0 ECF screen, 1 pre-sale, 2 replicated
    std::uint8_t Cancelado;
    std::uint32_t Cliente;              // customer code; 0: none
    char DocumentoCliente[19];          // CPF or CNPJ typed on the cupom
    char NomeCliente[41];
    std::uint16_t CondicaoPagamento;
    CY Subtotal;
    CY Desconto;
    CY Total;
    std::uint32_t NumeroInicial;        // consumer notas: the range of numbers
    std::uint32_t NumeroFinal;
    std::uint16_t QuantidadeItens;
    std::uint16_t QuantidadeParcelas;
} REG_EC_CXPS;

// A payment of a cupom in one means.
typedef struct tagREG_EC_CX_PAGAMENTOPS
{
    std::uint32_t Cupom;
    std::uint16_t Sequencia;
    std::uint16_t Forma;                // means of payment code
    CY Valor;
    std::uint32_t GNF;
    // A card's or cheque's holder, city and telephone, and the message the
    // operator typed with it; empty for the other means.
    char Titular[41];
    char Cidade[31];
    char Telefone[16];
    char Mensagem[41];
} REG_EC_CX_PAGAMENTOPS;

// An installment of a cupom sold on credit.
typedef struct tagREG_EC_CX_PARCELAPS
{
    std::uint32_t Cupom;
    std::uint16_t Sequencia;
    CY Valor;
    std::uint16_t TipoDocumento;        // document type naming the payment form
    qmx::NumeroDia Vencimento;
} REG_EC_CX_PARCELAPS;

// The search key of a cupom: its number (COO), date and ECF.
typedef struct tagREG_EC_CX_CHAVEPS
{
    std::uint32_t Cupom;
    qmx::NumeroDia Data;
    std::uint16_t Emissora;
} REG_EC_CX_CHAVEPS;

// A Z reduction: one per ECF and movement day.
typedef struct tagREG_REDUCAO_ZPS
{
    std::uint16_t Emissora;
    qmx::NumeroDia Data;                // movement date
    std::uint32_t CRZ;
    std::uint32_t CRO;
    std::uint32_t COOInicial;
    std::uint32_t COOFinal;
    CY VendaBruta;
    CY GrandeTotal;                     // grand total after the reduction
    qmx::NumeroDia DataEmissao;
    std::int32_t HoraEmissao;
    CY Substituicao;                    // F
    CY Isento;                          // I
    CY NaoTributado;                    // N
    CY Cancelamentos;
    CY Descontos;
    CY Acrescimos;
    CY ISS;                             // total of the service (ISS) rates
} REG_REDUCAO_ZPS;

// A rate totalizer of a Z reduction.
typedef struct tagREG_REDUCAO_Z_ALIQUOTAPS
{
    std::uint16_t Posicao;              // position in the ECF's rate table
    char Tipo;                          // 'T' ICMS, 'S' ISS
    std::uint16_t Aliquota;             // hundredths of a percent
    CY Valor;
} REG_REDUCAO_Z_ALIQUOTAPS;

// A non-fiscal totalizer of a Z reduction.
typedef struct tagREG_TOTALIZADOR_NAO_FISCALPS
{
    std::uint8_t Codigo;
    CY Valor;
} REG_TOTALIZADOR_NAO_FISCALPS;

// An entry of the ECF's document log (operation codes as the last-COO
// descriptions give them).
typedef struct tagREG_DOCUMENTO_ECFPS
{
    std::uint16_t Emissora;
    qmx::NumeroDia Data;
    std::int32_t Hora;
    std::uint32_t COO;
    std::uint8_t Tipo;
    std::uint32_t GNF;
    std::uint32_t GRG;
    std::uint32_t CDC;
} REG_DOCUMENTO_ECFPS;
