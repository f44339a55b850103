#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/QMXExport.h"
#include "plataforma/dados/RegistroCadastros.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/dados/RegistroFilial.h"
#include "plataforma/dados/RegistroMestre.h"

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

  // Readers: each opens its own connection with the triple, makes one
  // call and closes. None checks the result: a failed read leaves the
  // record as it was (only the Ato COTEPE data start zero-filled).
  void LeMestre(REG_EC_MESTREPS* mestre) const;
  void LeEmissora(std::uint16_t ecf, REG_EMISSORPS* emissora) const;
  // Also the ECF's rate table: the array takes the record's count of rates.
  void LeEmissora(std::uint16_t ecf, REG_EMISSORPS* emissora, std::vector<REG_EMISSOR_ALIQUOTA>* aliquotas) const;
  // The legal name, when asked for, is a wide text the caller frees with
  // LiberaTextoLargo.
  void LeFilial(std::uint16_t filial, REG_FILIALPS* registro, wchar_t** razaoSocial) const;
  void GetRazaoSocial(std::uint16_t filial, wchar_t** razaoSocial) const;
  REG_DADOS_ATO_COTEPE_PS GetDadosAtoCotepe(std::uint16_t filial) const;
  void LeMunicipio(std::uint16_t municipio, REG_MUNICIPIO_PS* registro) const;

  // The 1-based position, in the company's ECF list, of the fiscal printer
  // connected to this computer (found by its serial number, without regard
  // to blanks at the ends or letter case); -1 when there is none. A printer
  // that does not answer is reported to the operator.
  std::int32_t PegaECFAtivo() const;

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

  // The 16-bit day number of the point-of-sale program (read in the window
  // of today, JanelaDatas.h) as "DDMMAAAA", or "AAAAMMDD" with the year
  // first; day 0 gives zeros.
  static std::string InverteData(std::uint16_t numeroDia, bool anoPrimeiro);

  // Brings the text to the width as a text field, then turns every blank of
  // it into "?".
  static void AdicionaInterrogacao(std::uint16_t largura, std::string& texto);

 private:
  std::string m_strEmpresa;
  std::uint16_t m_nUsuario = 0;
  std::int32_t m_nContexto = 0;
};
