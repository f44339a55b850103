#pragma once

#include <cstdint>

// A municipality with its IBGE code.
typedef struct _REG_MUNICIPIO_PS
{
    std::uint16_t Numero;
    char Nome[61];
    char UF[3];
    std::int32_t CodigoIBGE;            // seven digits
} REG_MUNICIPIO_PS;

// A state (unidade federada).
typedef struct _REG_ESTADOPS
{
    std::uint16_t Codigo;
    char Sigla[3];
    char Nome[31];
} REG_ESTADOPS;

// Branch permissions of a user: one flag per branch number 0 to 999.
constexpr int QMX_FILIAIS_USUARIO = 1000;

// An operator of the system.
typedef struct _REG_USUARIOPS
{
    std::uint16_t Codigo;
    char Nome[41];
    std::uint8_t Filiais[QMX_FILIAIS_USUARIO];  // 1: may work in that branch
} REG_USUARIOPS;
