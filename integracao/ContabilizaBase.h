#pragma once

#include <string>

#include "frame/QMXExport.h"

// The financial posting base that the library also exports; here it keeps
// the history complement of the posting being built.
class QMX_API CContabilizaBase {
 public:
  CContabilizaBase();
  virtual ~CContabilizaBase();

  // Stores the text as the posting's history complement (null: empty).
  void SetComplemento(const char* complemento);
  const std::string& GetComplemento() const { return m_strComplemento; }

 private:
  std::string m_strComplemento;
};
