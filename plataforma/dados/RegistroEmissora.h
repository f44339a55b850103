#pragma once

#include <cstdint>

// An ECF (issuer) of the company, as the ECF server fills it.
typedef struct tagREG_EMISSORPS
{
    std::uint16_t Numero;               // the ECF's number in the store
    std::uint16_t Filial;               // branch the ECF belongs to
    char Nome[21];                      // identification shown to the operator
    char NumeroSerie[21];               // manufacture (serial) number
    char Marca[21];
    char Modelo[21];
    char Tipo[8];                       // "ECF-IF"
    std::int32_t CodigoModelo;          // model code of the file names
    std::uint8_t Habilitada;            // 1: enabled
    std::uint8_t Autonomo;              // 1: stand-alone ECF
    std::int32_t TabelaAliquotas;       // key of the rate table
    std::uint16_t QuantidadeAliquotas;  // entries in that table
    char CfopEstoque[6];                // CFOP of the stock movements
    std::uint16_t TipoDocumentoEstoque; // document type of the stock movements
    // Accounting grids and classification accounts of the ECF's sales:
    // produced goods, resale goods, tax substitution, services.
    std::uint16_t GradeProdutos;
    std::uint16_t GradeMercadorias;
    std::uint16_t GradeSubstituicao;
    std::uint16_t GradeServicos;
    char ContaProdutos[21];
    char ContaMercadorias[21];
    char ContaSubstituicao[21];
    char ContaServicos[21];
    // Where its sales are debited: credit sales to the clearing account
    // (the financial integration moves them to each title's receivable),
    // cash sales to the cash account.
    char ContaTransitoriaVendas[21];
    char ContaCaixa[21];
    // What the drawer holds besides the sales: credit vouchers issued
    // instead of change (owed to the customer), the coins of change the
    // store kept (its gain), and the treasury that withdrawals go to and
    // floats come from.
    char ContaContravales[21];
    char ContaArredondamentos[21];
    char ContaTesouraria[21];
} REG_EMISSORPS;

// One entry of an ECF rate table.
typedef struct tagREG_EMISSOR_ALIQUOTA
{
    std::int32_t Tabela;                // rate-table key
    std::uint16_t Posicao;              // 1-based position in the printer
    char Tipo;                          // 'T' ICMS, 'S' ISS
    std::uint16_t Aliquota;             // hundredths of a percent (1800 = 18.00 %)
} REG_EMISSOR_ALIQUOTA;
