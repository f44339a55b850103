#pragma once

#include <cstdint>

#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// Formats one field at a time into a fixed buffer of 512 characters, with
// the results of the C formatting rules the fiscal-file generators were
// written against (the Windows run-time's printf). Each operation cuts its
// result at the field width by writing a terminator there and returns the
// buffer, valid until the next operation on the same object. Nothing is
// allocated: the generators call it once per field of every record.
//
// Widths of 512 or more are taken as 511, the room the buffer has.
class CQMXFormatador {
 public:
  static constexpr int kTamanhoBuffer = 512;

  CQMXFormatador();
  virtual ~CQMXFormatador() = default;

  // "%s", or with padding blanks on the right (left-aligned) or on the left.
  const char* FormataTexto(const char* texto, int largura, bool completa, bool alinhaEsquerda);
  // Removes ".", "/" and "-", then "%0*s" (zeros on the left) or "%s".
  const char* FormataNumeroTexto(const char* texto, int largura, bool completaZeros);
  // "%0*I64d" or "%I64d".
  const char* FormataInteiro(std::int64_t valor, int largura, bool completaZeros);
  // A fixed-point value with four implied decimals as Brazilian decimal text
  // with the given decimals (cut, never rounded; beyond four they are zeros,
  // and no more than eight are written), without the grouping dots,
  // without the comma on request, then "%0*s" or "%s": padding zeros go in
  // front of the whole text, a minus sign included.
  const char* FormataValor(std::int64_t valor4, int largura, int decimais, bool tiraVirgula, bool completaZeros);
  // "%02i%s%02i%s%04i": day, separator, month, separator, year.
  const char* FormataDataDMA(NumeroDia numeroDia, const char* separador);
  // "%04i%s%02i%s%02i": year, separator, month, separator, day.
  const char* FormataDataAMD(NumeroDia numeroDia, const char* separador);
  // "%02i%s%04i": month, separator, year.
  const char* FormataMesAno(std::uint16_t codigoMes, const char* separador);

  const char* Buffer() const { return m_buffer; }

 private:
  const char* Corta(int largura);
  // Copies `texto` (length n) into the buffer, right-aligned with `enchimento`
  // up to `largura` characters, or as it is when shorter padding is asked.
  void Alinha(const char* texto, int n, int largura, char enchimento, bool aDireita);

  char m_buffer[kTamanhoBuffer];
};

}  // namespace qmx
