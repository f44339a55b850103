#pragma once

// The library's exported surface, for the point-of-sale program.
//
// Calling order: QMX_Inicializa once the operator has logged in (again to
// replace the company, user and context), QMX_SetFilial before
// QMX_GetEmissora, QMX_SetDiretorio before the integration exports, then any
// export in any order, and QMX_Finaliza before the library is released.
// Texts are Windows-1252; booleans are one byte, nonzero meaning true.
//
// A C program may include this header too: it then sees the structures and
// the QMX_ functions, which have plain C names; the functions with C++
// names are declared for C++ only.
//
// Dates are 16-bit day numbers (QMX_NumeroDia makes one); dialog exports
// run a modal dialog and return when it closes; no export throws. Each
// export's arguments, buffers, results, dialog and files are described in
// docs/exportacoes.md.

#include <stdint.h>

#ifdef __cplusplus
#include <cstdint>
#include <string>
#endif

#include "QMXExport.h"

// The parameters of one integration pass, passed by value. The date to
// integrate (day number) and the ECF number come first; the rest belongs to
// the caller (it carries the cupons' search key).
typedef struct REG_QMX_PARAMETROS_INTEGRACAO {
  uint16_t nData;
  uint16_t nEcf;
  unsigned char chaveBusca[136];
} REG_QMX_PARAMETROS_INTEGRACAO;

// The cupom QMX_IntegraCupomES takes (its `void*`), as the cash data hold
// it: the point of sale passes the record of the cupom it just sold. Dates
// are day numbers in 32 bits (not the 16-bit form), times HHMMSS, amounts
// in ten-thousandths; texts zero-terminated. The compiler's natural
// alignment applies (the amounts on 8 bytes): 144 bytes in all.
typedef struct QMX_CUPOM {
  uint32_t Id;
  uint16_t Filial;
  uint16_t Emissora;             /* the ECF's number */
  int32_t Data;                  /* day number */
  int32_t Hora;                  /* HHMMSS */
  uint32_t COO;
  uint32_t CCF;
  uint32_t Sequencia;            /* the day's sequence key */
  uint8_t Status;
  uint8_t Origem;                /* 0 ECF screen, 1 pre-sale, 2 replicated */
  uint8_t Cancelado;
  uint32_t Cliente;              /* customer code; 0: none */
  char DocumentoCliente[19];     /* CPF or CNPJ typed on the cupom */
  char NomeCliente[41];
  uint16_t CondicaoPagamento;
  int64_t Subtotal;              /* ten-thousandths */
  int64_t Desconto;
  int64_t Total;
  uint32_t NumeroInicial;        /* consumer notas: the range of numbers */
  uint32_t NumeroFinal;
  uint16_t QuantidadeItens;
  uint16_t QuantidadeParcelas;
} QMX_CUPOM;

#ifdef __cplusplus
static_assert(sizeof(REG_QMX_PARAMETROS_INTEGRACAO) == 140, "the caller passes 140 bytes");
static_assert(sizeof(QMX_CUPOM) == 144, "the cupom record is 144 bytes");
extern "C" {
#else
_Static_assert(sizeof(REG_QMX_PARAMETROS_INTEGRACAO) == 140, "the caller passes 140 bytes");
_Static_assert(sizeof(QMX_CUPOM) == 144, "the cupom record is 144 bytes");
#endif

// Context and selection.
// The company key, user and context every later export works with.
QMX_API QMX_BOOL QMX_Inicializa(const char* chaveEmpresa, uint16_t usuario, int32_t contexto);
// Before the library is released; it releases nothing.
QMX_API QMX_BOOL QMX_Finaliza(void);
// The branch and title of the next QMX_GetEmissora (the title must live
// until it returns).
QMX_API QMX_BOOL QMX_SetFilial(int32_t filial, uint8_t flag, const char* titulo);
// The integration log: a file, or a folder that gets QMXIntegracao.log.
QMX_API QMX_BOOL QMX_SetDiretorio(const char* diretorio);
// The branch and ECF selection dialog; the ECF chosen (0: none).
QMX_API QMX_BOOL QMX_GetEmissora(uint16_t* ecf);
// The position, in the company's list of ECFs, of this computer's printer.
QMX_API QMX_BOOL QMX_PegaECFAtivo(int32_t* posicao);
// The name of a document-log operation code; the text is the library's.
QMX_API QMX_BOOL QMX_DescricaoUltimoCOO(uint8_t codigo, const char** descricao);

// Fiscal files and reports: each shows its filter dialog and writes its
// file into the company's folder of electronic files (docs/arquivos.md).
QMX_API QMX_BOOL QMX_Sintegra(void);
// The SPED extract of the period; *caminho receives a new text with the
// file's path, freed with QMX_LiberaTexto.
QMX_API QMX_BOOL QMX_SpedFiscal(char** caminho, uint16_t filial, uint16_t ecf,
                                uint16_t dataInicial, uint16_t dataFinal);
QMX_API QMX_BOOL QMX_VendaPeriodo(void);
QMX_API QMX_BOOL QMX_LMF(const char* tipo);
QMX_API QMX_BOOL QMX_EspelhoMFD(void);
QMX_API QMX_BOOL QMX_ArqMFD(void);
// With `automatico`, no dialog: the file of the arguments' period and ECF.
QMX_API QMX_BOOL QMX_Movimentos(uint16_t dataInicial, uint16_t dataFinal, uint16_t ecf,
                                uint16_t filial, uint8_t automatico);
QMX_API QMX_BOOL QMX_MeiosPagamento(void);
QMX_API QMX_BOOL QMX_DAVs(void);
QMX_API QMX_BOOL QMX_TabProdutos(void);
QMX_API QMX_BOOL QMX_Estoque(void);
QMX_API QMX_BOOL QMX_TabIndiceTecnicoProducao(void);
// A cupom's header, items and installments, shown in a dialog.
QMX_API QMX_BOOL QMX_BuscaHistorico(uint16_t data, uint16_t ecf, uint32_t numeroCupom);
QMX_API QMX_BOOL QMX_IdentificacaoPAFECF(void);

// Authentication and ciphers. `digest` texts take 33 bytes (32 hexadecimal
// digits and the zero); the raw digest 16.
QMX_API QMX_BOOL QMX_GerarMD5_Arquivo(const char* caminho, char* digest);
QMX_API QMX_BOOL QMX_GerarMD5_String(const char* texto, char* digest);
QMX_API QMX_BOOL QMX_GerarMD5_StringMD5(const char* texto, unsigned char* digest);
QMX_API QMX_BOOL QMX_GerarMD5_PAFECF(char* digest, uint8_t mostraMensagem);
QMX_API QMX_BOOL QMX_GerarMD5_NotaFiscal(char* digest, uint16_t filial);
// Appends (or replaces) the file's EAD line.
QMX_API QMX_BOOL QMX_AssinarArquivo(const char* caminho);
QMX_API QMX_BOOL QMX_MontaSenha(uint16_t semente, uint16_t numeroDeslocamento, char* senha);
QMX_API QMX_BOOL QMX_DesmontaSenha(const char* senha, uint16_t* semente,
                                   uint16_t* numeroDeslocamento);
QMX_API QMX_BOOL QMX_Criptografar(int32_t semente, int32_t numeroDeslocamento, const char* texto,
                                  const char* valor, char* hexTexto, char* hexValor);
QMX_API QMX_BOOL QMX_Descriptografar(const char* senha, const char* hexTexto, const char* hexValor,
                                     char* texto, int64_t* valor);

// Back-office integration of one day and ECF: 0 integrated, 1 items left
// pending (stock), negative a failure (its result code); every step goes to
// the log of QMX_SetDiretorio. Accounting, fiscal books, stock, receivables.
QMX_API int32_t QMX_ProcIntegraCN(REG_QMX_PARAMETROS_INTEGRACAO parametros);
QMX_API int32_t QMX_ProcIntegraEF(REG_QMX_PARAMETROS_INTEGRACAO parametros);
QMX_API int32_t QMX_ProcIntegraES(REG_QMX_PARAMETROS_INTEGRACAO parametros);
QMX_API int32_t QMX_ProcIntegraFN(REG_QMX_PARAMETROS_INTEGRACAO parametros);
QMX_API int32_t QMX_IntegraCupomES(void* cupom, int32_t item, int32_t valor1, int32_t valor2);  // a QMX_CUPOM

// Helpers for C programs. A 16-bit day number from a calendar date (0 when
// the calendar lacks the date or the numbers do not reach it today), and
// the date of a day number as the exports read it (false for 0); and the
// release of a text the library handed back (QMX_SpedFiscal's path).
QMX_API uint16_t QMX_NumeroDia(uint16_t dia, uint16_t mes, uint16_t ano);
QMX_API QMX_BOOL QMX_DataDoNumero(uint16_t numeroDia, uint16_t* dia, uint16_t* mes, uint16_t* ano);
QMX_API void QMX_LiberaTexto(char* texto);

#ifdef __cplusplus
}  // extern "C"

// Exported functions with C++ names.
QMX_API std::string MontaData(std::uint16_t numeroDia, bool anoQuatroDigitos);
QMX_API std::string MontaHora(std::uint16_t minutos);
QMX_API std::string MontaHora(std::int32_t hhmmss, bool comSegundos);
QMX_API void CriptografarTexto(char* buffer, int tamanho, unsigned char chave);
QMX_API bool PegaECFAtivo(int& posicao);
QMX_API bool ECImprimeParametrizacao(std::uint16_t filial, std::uint16_t ecf);
#endif  // __cplusplus
