#pragma once

#include <cstdint>
#include <string>

#include "frame/ExcecaoFramework.h"

// The maker's exception: a numbered catalogue message of one of its systems
// (or a text of its own), with the operating system's error code when one
// caused it. Thrown by value.
//
// Its message text: the exception's own text, else the catalogue message of
// its module (number 0 has none); when still empty, "Erro desconhecido
// encontrado. Código (n)"; then, when a system error code is set, a line
// with the code and the system's text for it.
class CZTException : public CExcecaoFramework {
 public:
  static const CRuntimeClass classCZTException;

  // `modulo` is the 1-based index into the maker's table of systems.
  CZTException(std::uint32_t nMensagem, std::uint32_t nModulo, std::uint32_t nErroSistema = 0);
  CZTException(const std::string& strMensagem, std::uint32_t nModulo, std::uint32_t nErroSistema = 0);
  ~CZTException() override;

  const CRuntimeClass* GetRuntimeClass() const override;
  // The message text, cut to the buffer's size minus one; true when the
  // text is not empty. Looks the catalogue up (a catalogue that cannot be
  // opened shows its own box).
  bool GetErrorMessage(char* texto, unsigned tamanho, unsigned* contextoAjuda = nullptr) const override;
  // A box with the message text, captioned with the product title of the
  // exception's system; flags without an icon get the exclamation icon.
  int ReportError(unsigned flags = 0, unsigned idAjuda = 0) const override;
  virtual std::string GetTextoMensagem() const;

  // The message text without any box (a missing catalogue is passed over),
  // for handlers that only log.
  const char* what() const noexcept override;

  std::uint32_t GetMensagem() const { return m_nMensagem; }
  std::uint32_t GetModulo() const { return m_nModulo; }
  std::uint32_t GetErroSistema() const { return m_nErroSistema; }

 private:
  std::string MontaTexto(bool avisaCatalogo) const;

  std::uint32_t m_nMensagem;
  std::uint32_t m_nModulo;
  std::uint32_t m_nErroSistema;
  std::string m_strMensagem;
  mutable std::string m_strWhat;
};
