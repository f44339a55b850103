#pragma once

#include <cstdint>

// A branch of the company, as the branch server fills it. Texts are
// zero-terminated Windows-1252; documents are kept as stored (with or
// without punctuation). The leading field is the municipality's number.
typedef struct tagREG_FILIALPS
{
    std::int32_t Municipio;             // number of the municipality record
    std::uint16_t Numero;               // branch number
    char NomeFantasia[61];              // trade name
    char Cnpj[19];
    char Cpf[15];
    char InscricaoEstadual[21];
    char InscricaoMunicipal[21];
    char UF[3];
    char Cep[10];
    char Endereco[61];
    char NumeroEndereco[11];
    char Complemento[61];
    char Bairro[61];
    char DDD[5];
    char Telefone[16];
    char Fax[16];
    char Email[61];
    std::uint8_t Industrial;            // 1: industrial establishment
    std::uint8_t ProgramaCredito;       // 1: in the state's credit programme
    std::uint8_t HabilitadaECF;         // 1: may use ECFs
    // The branch's accountant.
    char ContadorNome[61];
    char ContadorCpf[15];
    char ContadorCrc[21];
    char ContadorCnpj[19];
    char ContadorCep[10];
    char ContadorEndereco[61];
    char ContadorNumero[11];
    char ContadorComplemento[61];
    char ContadorBairro[61];
    char ContadorDDD[5];
    char ContadorTelefone[16];
    char ContadorFax[16];
    char ContadorEmail[61];
    std::int32_t ContadorMunicipio;     // number of the accountant's municipality
    char Contato[29];                   // the branch's contact person
    std::uint16_t MesBloqueadoContabil; // month code closed for accounting; 0: none
} REG_FILIALPS;

// A registration as tax substitute in another state.
typedef struct tagREG_IE_SUBSTITUTOPS
{
    std::uint16_t Estado;               // state code (state record)
    char Inscricao[21];
} REG_IE_SUBSTITUTOPS;

// The branch data that the Ato COTEPE headers need.
typedef struct tagREG_DADOS_ATO_COTEPE_PS
{
    char Suframa[15];
    std::uint16_t QuantidadeSubstitutos;
    REG_IE_SUBSTITUTOPS Substitutos[27]; // at most one per state
} REG_DADOS_ATO_COTEPE_PS;
