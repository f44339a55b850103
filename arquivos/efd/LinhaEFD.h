#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "plataforma/calendario/NumeroDia.h"


namespace qmx::efd {

// Builds the pipe-delimited lines of the digital bookkeeping layouts onto
// the end of a text: "|" + REG + "|", each field followed by "|", and
// "\r\n" at the end. Empty fields are nothing between two bars. One
// formatter serves every field, so no field allocates.
//
//   CLinhaEFD(texto, "C405").Data(z.Data).Numerico(cro, 3).Fim();
//
// Each field gives what the formatter (CQMXFormatador) or FormataCampo
// gives for it, written without printf and without allocating: the files
// write millions of fields.
//
// The fields are written in place: the text is grown ahead of the line
// and cut back to what was written at Fim (or when the builder goes, for a
// line left without its end), so that a field costs no append of its own.
// Nothing else may write to the text while its line is being built.
class CLinhaEFD {
 public:
  CLinhaEFD(std::string& destino, const char* registro);
  ~CLinhaEFD();
  CLinhaEFD(const CLinhaEFD&) = delete;
  CLinhaEFD& operator=(const CLinhaEFD&) = delete;

  CLinhaEFD& Texto(std::string_view campo);
  CLinhaEFD& Vazio() { return Texto({}); }
  // An item's code: "P" or "S" and the number.
  CLinhaEFD& Codigo(char tipo, std::uint32_t numero);
  CLinhaEFD& Vazios(int quantos);
  CLinhaEFD& Inteiro(std::int64_t valor);
  // An amount of four implied decimals with `decimais` decimals (cut, never
  // rounded), a decimal comma and no padding: 1234,50.
  CLinhaEFD& Valor(std::int64_t valor4, int decimais = 2);
  // The same, cut to at most `largura` characters (the rates).
  CLinhaEFD& ValorCortado(std::int64_t valor4, int decimais, std::size_t largura);
  // A numeric field of FormataCampo: "/", "-", ".", blanks (and "," unless
  // kept) removed, zeros on the left up to the width, the leftmost
  // characters dropped beyond it.
  CLinhaEFD& Numerico(std::string_view texto, int largura, bool mantemVirgula = false);
  CLinhaEFD& NumericoInteiro(std::int64_t valor, int largura);
  // An amount with `decimais` decimals as a numeric field of 14 with its
  // comma: 00000001234,50.
  CLinhaEFD& N14(std::int64_t valor4, int decimais = 2);
  // A rate in hundredths of a percent as "%.02f" with a decimal comma in a
  // numeric field of 6: 018,00.
  CLinhaEFD& Aliquota6(std::uint16_t centesimos);
  // "." "/" "-" removed and zeros on the left up to the width.
  CLinhaEFD& Digitos(std::string_view texto, int largura);
  // A CFOP as the layouts' four-digit number: the nature's text without its
  // dot ("5.102" is 5102); a nature without digits leaves the field empty.
  // Every CFOP field of both files goes through here.
  CLinhaEFD& Cfop(std::string_view texto);
  // A state registration (IE, IE_ST) without its punctuation: letters and
  // digits only, so that a 15-character "110.042.490.114" fits the layout's
  // 14 whole.
  CLinhaEFD& Inscricao(std::string_view texto);
  // A telephone as the layouts take it (DDD+FONE, at most 11): the area
  // code's two digits and the number's digits, with no padding; empty when
  // the number has no digit.
  CLinhaEFD& Telefone(std::string_view ddd, std::string_view numero);
  // DDMMYYYY ("%02i%s%02i%s%04i" of the formatter without separators, and
  // InverteData's day-first form alike).
  CLinhaEFD& Data(NumeroDia numeroDia);
  // Text written as it is, without a bar after it (the layouts' literals).
  CLinhaEFD& Literal(std::string_view texto);
  void Fim();

 private:
  // Room for `n` more characters at the end of the line; where they go.
  char* Espaco(std::size_t n) {
    if (static_cast<std::size_t>(m_limite - m_cursor) < n) Cresce(n);
    return m_cursor;
  }
  void Cresce(std::size_t n);
  // The field written up to `fim` (from Espaco's answer), and its bar.
  CLinhaEFD& Campo(char* fim) {
    *fim++ = '|';
    m_cursor = fim;
    return *this;
  }
  void Corta();

  std::string& m_destino;
  // The end of the line written so far and of the room ahead of it, in
  // the text's characters.
  char* m_cursor;
  char* m_limite;
  bool m_terminada = false;
};

// The decimal text of the formatter's FormataValor without padding ("-",
// the integer part, a comma and `decimais` decimals: the four held and
// then zeros, at most eight), written without printf: the files write it
// for nearly every field. Returns its length (at most 32).
std::size_t TextoValor(char* saida, std::int64_t valor4, int decimais);

// DDMMYYYY as the formatter's "%02i%s%02i%s%04i" writes it. Returns 8.
std::size_t TextoData(char* saida, NumeroDia numeroDia);

// A text's digits alone ("123.456.789-09" → "12345678909").
std::string SoDigitos(std::string_view texto);

// Whether a text has a digit: a branch or accountant without a CNPJ is one
// whose CNPJ text has none.
bool TemDigito(std::string_view texto);

// The numeric field of FormataCampo written onto the end of a text.
void AcrescentaNumerico(std::string& destino, std::string_view texto, int largura, bool mantemVirgula);

// value × rate / 100 with the rate in hundredths of a percent, exact and
// rounded half to even at the fourth decimal, as currency products are.
std::int64_t ParteDoValor(std::int64_t valor4, std::uint32_t centesimos);

}  // namespace qmx::efd
