#pragma once

#include <cstdint>

#include "plataforma/calendario/NumeroDia.h"

#include "plataforma/com/CY.h"

// The catalogue as the products server fills it. Texts are zero-terminated
// Windows-1252; rates are hundredths of a percent (1800 = 18.00 %);
// amounts and quantities are CY.

// A product, with its tax data in the branch it was read for.
typedef struct _REG_PRODUTOPS
{
    std::uint32_t Codigo;
    char Descricao[101];
    std::uint16_t Unidade;              // unit of measure code; 0: none
    std::uint8_t UnidadeInterrogacao;   // 1: the unit is written padded with "?"
    char NCM[11];
    char ExIPI[4];
    std::uint8_t Revenda;               // 1: bought for resale
    char Situacao;                      // status letter; 'A' active
    std::uint8_t Inativo;
    std::uint8_t Producao;              // 1: produced by the company
    std::uint16_t AliquotaST;
    CY BaseST;
    std::uint16_t ReducaoBase;
    char CstIPI[4];
    std::uint16_t AliquotaIPI;
    std::uint8_t ApuracaoIPI;           // the IPI period flag
    char ContaContabil[21];
    char ContaEstoque[21];
    char ContaCusto[21];
    std::uint16_t LocalEstoque;
    std::uint16_t GradeContabil;
    // Branch data: all zero when the product has none for the branch.
    std::uint16_t Filial;
    char SituacaoTributaria[4];         // the CST text ("000", "060", ...)
    char Tributacao;                    // ECF tax letter: 'T', 'F', 'I', 'N', ...
    std::uint16_t AliquotaICMS;
    CY CustoUltimaCompra;               // unit cost of the last purchase; 0: none known
} REG_PRODUTOPS;

typedef struct _REG_SERVICOSPS
{
    std::uint32_t Codigo;
    char Descricao[101];
    std::uint16_t Unidade;
    std::uint8_t UnidadeInterrogacao;
    char CodigoLST[6];                  // service-list code
    std::uint16_t AliquotaISS;
    std::uint16_t AliquotaPIS;
    std::uint16_t AliquotaCOFINS;
    std::uint8_t Ativo;
    std::uint8_t Producao;
    char ContaContabil[21];
    std::uint16_t GradeContabil;
} REG_SERVICOSPS;

typedef struct _REG_UNIDADES_MEDIDAPS
{
    std::uint16_t Codigo;
    char Sigla[7];
    char Descricao[41];
} REG_UNIDADES_MEDIDAPS;

typedef struct _REG_UNIDADES_MEDIDA_SERVICOSPS
{
    std::uint16_t Codigo;
    char Sigla[7];
    char Descricao[41];
} REG_UNIDADES_MEDIDA_SERVICOSPS;

// A PIS (Tipo 1) or COFINS (Tipo 2) rate of a product and its validity.
typedef struct _REG_ITENS_PIS_COFINS_PRODUTOPS
{
    std::uint32_t Produto;
    std::uint8_t Tipo;
    qmx::NumeroDia Inicio;              // day number
    qmx::NumeroDia Fim;                 // day number; 0: open
    std::uint16_t Aliquota;
} REG_ITENS_PIS_COFINS_PRODUTOPS;

// Price tables: kind 1 of products, kind 2 of services.
constexpr std::uint8_t QMX_TABELA_PRODUTOS = 1;
constexpr std::uint8_t QMX_TABELA_SERVICOS = 2;

typedef struct _REG_TABELA_PRECOPS
{
    std::uint8_t Tipo;
    std::uint16_t Codigo;
    char Descricao[41];
} REG_TABELA_PRECOPS;

typedef struct _REG_ITEM_TABELA_PRECOPS
{
    std::uint8_t Tipo;
    std::uint16_t Tabela;
    std::uint32_t Item;                 // product or service code
    CY Preco;
} REG_ITEM_TABELA_PRECOPS;

// A storage place of the stock.
typedef struct _REG_LOCAL_ESTOQUEPS
{
    std::uint16_t Codigo;
    char Descricao[41];
    char ContaEmpresarial[21];
    std::uint8_t PermiteNegativo;
} REG_LOCAL_ESTOQUEPS;
