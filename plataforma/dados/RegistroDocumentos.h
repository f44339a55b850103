#pragma once

#include <cstdint>

// Customers and suppliers, document types, natures, payment conditions and
// means, the chart of accounts and the accounting grids, as their servers
// fill them. Texts are zero-terminated Windows-1252.

// A customer or supplier.
typedef struct _ZTCFRT
{
    std::uint32_t Codigo;
    char Nome[61];
    char TipoPessoa;                    // 'F' person, 'J' company
    char CnpjCpf[19];                   // as stored, with or without punctuation
    char InscricaoEstadual[21];         // empty: none
    std::uint8_t Estrangeiro;           // 1: abroad
    char Pais[6];                       // country code ("1058" Brazil)
    char UF[3];
    std::int32_t Municipio;             // IBGE code
    char Suframa[15];
    char Endereco[61];
    std::int32_t Numero;
    char Complemento[61];
    char Bairro[61];
    char Cep[10];
    char Telefone[16];
    char ContaContabil[21];
} ZTCFRT;

// A fiscal-document model.
typedef struct _REG_DOC_FISCAIS
{
    std::uint16_t Codigo;
    char Modelo[3];                     // "01", "1B", "04", "55", "2D", "02", ...
    char Descricao[41];
} REG_DOC_FISCAIS;

typedef struct _REG_TIPO_DOCUMENTOPS
{
    std::uint16_t Codigo;
    char Descricao[41];
    std::uint16_t DocumentoFiscal;      // fiscal-document model; 0: none
} REG_TIPO_DOCUMENTOPS;

typedef struct _REG_NATUREZAPS
{
    std::uint16_t Codigo;
    char Descricao[61];
    char Cfop[6];
} REG_NATUREZAPS;

typedef struct _REG_CONDICAO_PAGAMENTOPS
{
    std::uint16_t Codigo;
    char Descricao[41];
    std::uint8_t AVista;                // 1: cash
} REG_CONDICAO_PAGAMENTOPS;

// A means of payment of the ECF.
typedef struct _REG_FORMA_PAGAMENTOPS
{
    std::uint16_t Codigo;
    char Nome[21];
    std::uint8_t APrazo;                // 1: sold on credit (makes receivables)
    char ContaEntradaFN[21];
} REG_FORMA_PAGAMENTOPS;

typedef struct _REG_PLANO_CONTAPS
{
    char Codigo[21];
    char Descricao[61];
    std::uint8_t Analitica;
    std::uint8_t ExigeGerencial;
} REG_PLANO_CONTAPS;

typedef struct _REG_GRADE_CONTABILPS
{
    std::uint16_t Codigo;
    char Descricao[41];
    char ContaDebito[21];
    char ContaCredito[21];
} REG_GRADE_CONTABILPS;
