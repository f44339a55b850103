#pragma once

#include <cstdint>
#include <string>

#include "frame/QMXExport.h"

// Reads the point-of-sale records every file and dialog needs, with the
// connection triple it was given, and brings values into fixed-width fields.
class QMX_API CQMXGenerica {
 public:
  CQMXGenerica();
  CQMXGenerica(const char* chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  CQMXGenerica(const CQMXGenerica& outra);
  CQMXGenerica& operator=(const CQMXGenerica& outra);
  virtual ~CQMXGenerica();

  void Inicializa(const char* chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);

  const std::string& ChaveEmpresa() const { return m_strEmpresa; }
  std::uint16_t Usuario() const { return m_nUsuario; }
  std::int32_t Contexto() const { return m_nContexto; }

  // A value brought to a field of `largura` characters. Numeric fields lose
  // "/", "-", "." and blanks (and "," unless kept), get zeros on the left and
  // keep their rightmost characters; text fields get blanks on the right and
  // keep their first characters. Width 0: a numeric field is only cleaned,
  // a text field becomes empty.
  static std::string FormataCampo(const char* texto, std::uint16_t largura, bool numerico, bool mantemVirgula);
  void FormataCampo(std::string& texto, std::uint16_t largura, bool numerico, bool mantemVirgula) const;

  // The day number as "DDMMAAAA", or "AAAAMMDD" with the year first; day 0
  // gives zeros. The century follows the two-digit year (19 from 27 on).
  static std::string InverteData(std::uint16_t numeroDia, bool anoPrimeiro);

  // Brings the text to the width as a text field, then turns every blank of
  // it into "?".
  static void AdicionaInterrogacao(std::uint16_t largura, std::string& texto);

 private:
  std::string m_strEmpresa;
  std::uint16_t m_nUsuario = 0;
  std::int32_t m_nContexto = 0;
};
