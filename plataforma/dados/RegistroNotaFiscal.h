#pragma once

#include <cstdint>

#include "plataforma/calendario/NumeroDia.h"

#include "plataforma/com/CY.h"

// A nota fiscal issued by a branch, as the notas-fiscais server fills it.
typedef struct _REG_NOTA_FISCALPS
{
    std::uint32_t Id;
    std::uint16_t Filial;
    std::uint16_t TipoDocumento;
    char Serie[4];
    std::uint32_t Numero;
    qmx::NumeroDia Data;                // day number
    std::uint32_t Participante;         // customer/supplier code
    std::uint8_t Cancelada;
    std::uint8_t Inutilizada;           // the number was voided
    std::uint8_t Denegada;              // the NF-e was denied
    char ChaveNFe[45];
    std::uint16_t CodigoTipo;           // kind code (12 and 30: amounts not declared)
    char Observacao[256];
    std::uint16_t CondicaoPagamento;    // 0: none
    CY ValorTotal;
    CY Desconto;
    CY Abatimento1;
    CY Abatimento2;
    CY ValorMercadorias;
    std::uint8_t IndicadorFrete;
    CY Frete;
    CY Seguro;
    CY OutrasDespesas;
    CY BaseICMS;
    CY ICMS;
    CY BaseST;
    CY ICMSST;
    CY IPI;
    CY PIS;
    CY COFINS;
    CY PISST;
    CY COFINSST;
    CY Isentas;                         // exempt or not taxed
    CY Outras;
} REG_NOTA_FISCALPS;

// A payment of a nota in one means of payment.
typedef struct _REG_NF_PAGAMENTOPS
{
    std::uint32_t Nota;
    std::uint16_t Sequencia;
    std::uint16_t Forma;                // means of payment code
    CY Valor;
} REG_NF_PAGAMENTOPS;

typedef struct _REG_ITENS_NF_PS
{
    std::uint32_t Nota;
    std::uint16_t Sequencia;
    std::uint8_t Servico;               // 1: Codigo is a service
    std::uint32_t Codigo;
    char Descricao[101];
    CY Quantidade;
    CY ValorItem;
    std::int64_t DescontoUnitario;      // eight decimals (value times 10^8)
    std::uint8_t IndicadorMovimento;
    std::uint16_t Natureza;
    CY BaseICMS;
    std::uint16_t AliquotaICMS;
    CY ICMS;
    CY BaseST;
    std::uint16_t AliquotaST;
    CY ICMSST;
    CY ReducaoBase;                     // value of the base reduction
    CY BaseIPI;
    std::uint16_t AliquotaIPI;
    CY IPI;
    std::uint8_t CstPIS;
    CY BasePIS;
    std::uint16_t AliquotaPIS;
    CY PIS;
    std::uint8_t CstCOFINS;
    CY BaseCOFINS;
    std::uint16_t AliquotaCOFINS;
    CY COFINS;
    // The product as it was sold: its tax situation, unit and NCM (empty:
    // taken from the register when the nota is written).
    char CST[4];
    std::uint16_t Unidade;
    char NCM[11];
} REG_ITENS_NF_PS;
