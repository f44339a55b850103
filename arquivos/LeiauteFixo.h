#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <span>
#include <string>

#include "frame/QMXFormatador.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx {

// A fixed-width record is written from its layout: a table of fields, each
// with its kind and width, as the file's layout gives it. The registers of
// a file read like their layouts, and each width is written once.
namespace leiaute {

// Two families of fields. The Sintegra file's follow the formatter's
// rules (a number too wide keeps its leftmost digits); the other PAF files'
// follow the record fields of the point-of-sale data (a number too wide
// loses digits on the left, dates are the inverted dates).
enum class Tipo : std::uint8_t {
  X,        // text, left-aligned, padded with blanks and cut to the width
  N,        // integer, zeros on the left, cut to the width
  D,        // document digits ("." "/" "-" removed), zeros on the left
  V,        // amount of four implied decimals cut (never rounded) to d decimals, no separator, zeros on the left
  Dt,       // date (day number) as year, month, day
  MesAno,   // month code as month and four-digit year
  Brancos,  // blanks
  Literal,  // a fixed text
  // The PAF files' fields:
  Numerico,       // "." "/" "-" "," and blanks removed, zeros on the left, cut on the left
  Quantia,        // |amount| cut to d decimals and written without separators as a Numerico
  DataInvertida,  // year, month, day of the inverted date (zeros for day 0)
  Inscricao,      // a registration: its letters and digits only, left-aligned, blanks after
};

struct Campo {
  Tipo tipo;
  int largura;
  int decimais = 0;
  const char* literal = nullptr;
};

constexpr Campo X(int largura) { return {Tipo::X, largura}; }
constexpr Campo N(int largura) { return {Tipo::N, largura}; }
constexpr Campo D(int largura) { return {Tipo::D, largura}; }
constexpr Campo V(int largura, int decimais) { return {Tipo::V, largura, decimais}; }
constexpr Campo Dt() { return {Tipo::Dt, 8}; }
constexpr Campo MesAno() { return {Tipo::MesAno, 6}; }
constexpr Campo Brancos(int largura) { return {Tipo::Brancos, largura}; }
constexpr Campo Num(int largura) { return {Tipo::Numerico, largura}; }
constexpr Campo Quantia(int largura, int decimais) { return {Tipo::Quantia, largura, decimais}; }
constexpr Campo DataInv() { return {Tipo::DataInvertida, 8}; }
// State and municipal registrations are text in the published layouts:
// "110.042.490.114" is written 110042490114 and blanks, never zero-filled.
constexpr Campo Insc(int largura) { return {Tipo::Inscricao, largura}; }
template <std::size_t N>
constexpr Campo Lit(const char (&texto)[N]) {
  return {Tipo::Literal, static_cast<int>(N - 1), 0, texto};
}

// The width of a whole record.
constexpr int Largura(std::span<const Campo> campos) {
  int total = 0;
  for (const auto& c : campos) total += c.largura;
  return total;
}

// The value of a field that takes one: a text (X, D, Numerico), an integer
// (N, Numerico), an amount's raw four-decimal integer (V, Quantia), a day
// number (Dt, DataInvertida) or a month code (MesAno).
struct Valor {
  const char* texto = nullptr;
  std::int64_t numero = 0;
  Valor(const char* t) : texto(t ? t : "") {}
  Valor(const std::string& t) : texto(t.c_str()) {}
  Valor(std::int64_t n) : numero(n) {}
  Valor(int n) : numero(n) {}
  Valor(unsigned n) : numero(n) {}
  Valor(unsigned long n) : numero(static_cast<std::int64_t>(n)) {}
  Valor(std::uint16_t n) : numero(n) {}
};

}  // namespace leiaute

// Writes records from their layouts into one reused line, so a file of
// millions of lines allocates nothing per line. The usual cases of N, V
// and Dt are written digit by digit; everything else goes through
// CQMXFormatador, whose results these match to the byte.
class CEscritorRegistro {
 public:
  explicit CEscritorRegistro(const char* fimLinha = "\r\n")
      : m_fimLinha(fimLinha), m_tamanhoFimLinha(std::strlen(fimLinha)) {
    m_linha.reserve(512);
  }

  // The record of the layout, each value given to the next field that
  // takes one, followed by the line end. Throws std::invalid_argument when
  // the values do not match the fields that take them.
  const std::string& Monta(std::span<const leiaute::Campo> campos, std::initializer_list<leiaute::Valor> valores);

  // The same record appended to the end of `destino` (a group of lines
  // held together is built in place, without a copy of each line). On an
  // error `destino` is left as it was.
  void MontaEm(std::string& destino, std::span<const leiaute::Campo> campos,
               std::initializer_list<leiaute::Valor> valores);

  const std::string& Linha() const { return m_linha; }

 private:
  void Acrescenta(const leiaute::Campo& campo, const leiaute::Valor* valor);
  void Numero(std::uint64_t magnitude, int largura);
  void NumeroCortadoAEsquerda(std::uint64_t magnitude, int largura);
  // The number's digits in a field of the width, zeros on the left; a wider
  // number keeps its leftmost digits or its rightmost.
  void NumeroNaLargura(std::uint64_t magnitude, std::size_t largura, bool mantemAEsquerda);
  void Data(NumeroDia dia);
  // Room for n more characters of the record being built, at its end (the
  // text is grown ahead of the record, and cut back to it at its end).
  char* Reserva(std::size_t n) {
    if (m_fim + n > m_destino->size()) [[unlikely]] Cresce(n);
    char* p = m_destino->data() + m_fim;
    m_fim += n;
    return p;
  }
  void Cresce(std::size_t n);
  void Texto(const char* texto, std::size_t n);

  std::string m_linha;
  const char* m_fimLinha;
  std::size_t m_tamanhoFimLinha;
  CQMXFormatador m_formatador;
  // The record being built: its text and where it ends so far.
  std::string* m_destino = nullptr;
  std::size_t m_fim = 0;
  // The last date written, as its eight digits (the lines of a day repeat it).
  bool m_haUltimaData = false;
  NumeroDia m_ultimoDia = 0;
  char m_ultimaData[8] = {};
};

}  // namespace qmx
