#include "plataforma/com/Apartamento.h"

#include <objbase.h>

namespace qmx::com {

CApartamentoCOM::CApartamentoCOM(Tipo tipo)
    : m_resultado(::CoInitializeEx(nullptr, tipo == Tipo::UmaLinha ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED)) {}

CApartamentoCOM::~CApartamentoCOM() {
  // Every successful initialisation, S_FALSE included, is matched by one
  // uninitialisation.
  if (m_resultado >= 0) ::CoUninitialize();
}

}  // namespace qmx::com
