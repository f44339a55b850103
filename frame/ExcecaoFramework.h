#pragma once

#include <exception>

// The class information that the window framework keeps for its exception
// classes: a name and the base class, so a handler can ask what it caught.
struct CRuntimeClass {
  const char* m_lpszClassName;
  const CRuntimeClass* m_pBaseClass;
  bool IsDerivedFrom(const CRuntimeClass* base) const;
};

// The framework's exception class: it can describe itself as a text and
// report itself to the operator in a message box.
class CExcecaoFramework : public std::exception {
 public:
  static const CRuntimeClass classCExcecaoFramework;

  ~CExcecaoFramework() override;
  virtual const CRuntimeClass* GetRuntimeClass() const;
  // Copies the description into the buffer, cut to its size; false when
  // there is none.
  virtual bool GetErrorMessage(char* texto, unsigned tamanho, unsigned* contextoAjuda = nullptr) const;
  // Shows the description in a message box and returns the answer.
  virtual int ReportError(unsigned flags = 0, unsigned idAjuda = 0) const;
};
