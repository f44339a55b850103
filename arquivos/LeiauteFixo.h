#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <type_traits>
#include <utility>

#include "frame/QMXFormatador.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/texto/DigitosDecimais.h"

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

// Whether a field takes a value (blanks and literals do not).
constexpr bool TomaValor(Tipo tipo) { return tipo != Tipo::Brancos && tipo != Tipo::Literal; }

// How many of the first `ate` fields take a value: the whole record's
// count, or where the value of field `ate` is among the values.
constexpr std::size_t ContaValores(std::span<const Campo> campos, std::size_t ate = SIZE_MAX) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < campos.size() && i < ate; ++i) n += TomaValor(campos[i].tipo);
  return n;
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
  // takes one, followed by the line end, in a line reused by the next
  // record. The layout is an array of fields defined at namespace scope,
  // known when the program is built: a count of values that does not match
  // its fields does not compile, and each field is written by its kind's
  // code with its width as a constant.
  template <const auto& kCampos>
  const std::string& Monta(const leiaute::Valor (&valores)[leiaute::ContaValores(kCampos)]) {
    Escreve<kCampos>(m_linha, 0, valores);
    return m_linha;
  }
  // The same record appended to the end of `destino` (a group of lines
  // held together is built in place, without a copy of each line).
  template <const auto& kCampos>
  void MontaEm(std::string& destino, const leiaute::Valor (&valores)[leiaute::ContaValores(kCampos)]) {
    Escreve<kCampos>(destino, destino.size(), valores);
  }

  const std::string& Linha() const { return m_linha; }

 private:
  // A record written over `destino` from `inicio` on, the text cut after
  // it. The reused line is written over the last one without emptying it
  // first: a line as long as the last one never grows the text.
  template <const auto& kCampos>
  void Escreve(std::string& destino, std::size_t inicio,
               const leiaute::Valor (&valores)[leiaute::ContaValores(kCampos)]) {
    m_destino = &destino;
    m_fim = inicio;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      (CampoDoLeiaute<kCampos, I>(valores + std::integral_constant<std::size_t, leiaute::ContaValores(kCampos, I)>()),
       ...);
    }(std::make_index_sequence<std::size(kCampos)>{});
    Texto(m_fimLinha, m_tamanhoFimLinha);
    destino.resize(m_fim);
    m_destino = nullptr;
  }

  // Field `I` of the layout: the usual kinds by their own code, the rest
  // through the writer of every kind. `valor` is the field's value (past
  // the last one for a field that takes none).
  template <const auto& kCampos, std::size_t I>
  void CampoDoLeiaute(const leiaute::Valor* valor) {
    using leiaute::Tipo;
    constexpr leiaute::Campo kCampo = kCampos[I];
    if constexpr (kCampo.tipo == Tipo::Literal) {
      Texto(kCampos[I].literal, static_cast<std::size_t>(kCampo.largura));
    } else if constexpr (kCampo.tipo == Tipo::X) {
      Alfanumerico(valor->texto, kCampo.largura);
    } else if constexpr (kCampo.tipo == Tipo::Quantia) {
      Quantia(valor->numero, kCampo.largura, kCampo.decimais);
    } else if constexpr (kCampo.tipo == Tipo::Dt || kCampo.tipo == Tipo::DataInvertida) {
      Data(static_cast<NumeroDia>(valor->numero));
    } else if constexpr (kCampo.tipo == Tipo::Numerico) {
      if (valor->texto) Acrescenta(kCampo, valor);
      else NumericoInteiro(valor->numero, kCampo.largura);
    } else {
      Acrescenta(kCampo, valor);
    }
  }

  // Any kind of field, its width and decimals read from `campo`.
  void Acrescenta(const leiaute::Campo& campo, const leiaute::Valor* valor);
  // "%-*s" cut at the width: the text's first characters, blanks after.
  void Alfanumerico(const char* texto, int largura) {
    if (largura <= 0) return;
    const auto n = static_cast<std::size_t>(largura);
    const std::size_t usados = strnlen(texto, n);
    char* p = Reserva(n);
    // Blanks over the whole width first: with the width a constant, a few
    // stores instead of a call.
    std::memset(p, ' ', n);
    std::memcpy(p, texto, usados);
  }
  // |amount| cut to its decimals, without separators, as a numeric field.
  void Quantia(std::int64_t valor, int largura, int decimais) {
    const std::uint64_t magnitude =
        valor < 0 ? 0 - static_cast<std::uint64_t>(valor) : static_cast<std::uint64_t>(valor);
    std::uint64_t escala = 10000;
    for (int i = 0; i < decimais && i < 4; ++i) escala /= 10;
    std::uint64_t valorCampo = magnitude / escala;
    for (int i = 4; i < decimais; ++i) valorCampo *= 10;
    NumeroCortadoAEsquerda(valorCampo, largura);
  }
  // An integer in a numeric field: the sign is one of the characters the
  // field drops.
  void NumericoInteiro(std::int64_t valor, int largura) {
    NumeroCortadoAEsquerda(valor < 0 ? 0 - static_cast<std::uint64_t>(valor) : static_cast<std::uint64_t>(valor),
                           largura);
  }
  void Numero(std::uint64_t magnitude, int largura);
  // Zeros on the left up to the width (at most 512); digits beyond the
  // width fall off on the left.
  void NumeroCortadoAEsquerda(std::uint64_t magnitude, int largura) {
    if (largura > 512) largura = 512;
    if (largura > 0) NumeroNaLargura(magnitude, static_cast<std::size_t>(largura), false);
  }
  // The number's digits in a field of the width, zeros on the left; a wider
  // number keeps its leftmost digits or its rightmost.
  void NumeroNaLargura(std::uint64_t magnitude, std::size_t largura, bool mantemAEsquerda) {
    char* campo = Reserva(largura);
    if (texto::CabeEm(magnitude, static_cast<long>(largura))) [[likely]] {
      // Written in place from the field's right end.
      const char* primeiro = texto::DigitosAntesDe(magnitude, campo + largura);
      std::memset(campo, '0', static_cast<std::size_t>(primeiro - campo));
      return;
    }
    NumeroLargoDemais(magnitude, campo, largura, mantemAEsquerda);
  }
  void NumeroLargoDemais(std::uint64_t magnitude, char* campo, std::size_t largura, bool mantemAEsquerda);
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
  void Texto(const char* texto, std::size_t n) {
    if (n) std::memcpy(Reserva(n), texto, n);
  }

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
