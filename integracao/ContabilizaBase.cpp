#include "integracao/ContabilizaBase.h"

CContabilizaBase::CContabilizaBase() = default;
CContabilizaBase::~CContabilizaBase() = default;

void CContabilizaBase::SetComplemento(const char* complemento) {
  m_strComplemento = complemento ? complemento : "";
}
