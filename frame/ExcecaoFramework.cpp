#include "frame/ExcecaoFramework.h"

#include "plataforma/ui/HostUI.h"

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* classe = this; classe; classe = classe->m_pBaseClass)
    if (classe == base) return true;
  return false;
}

const CRuntimeClass CExcecaoFramework::classCExcecaoFramework = {"CException", nullptr};

CExcecaoFramework::~CExcecaoFramework() = default;

const CRuntimeClass* CExcecaoFramework::GetRuntimeClass() const { return &classCExcecaoFramework; }

bool CExcecaoFramework::GetErrorMessage(char* texto, unsigned tamanho, unsigned* contextoAjuda) const {
  if (contextoAjuda) *contextoAjuda = 0;
  if (texto && tamanho > 0) *texto = '\0';
  return false;
}

int CExcecaoFramework::ReportError(unsigned flags, unsigned) const {
  // Without a description of its own the framework shows a generic text.
  return qmx::ui::CaixaMensagem("Ocorreu um erro não especificado.", {}, flags | qmx::ui::MB_ICONEXCLAMATION);
}
