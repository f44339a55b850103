#include "plataforma/com/Apartamento.h"

#include <objbase.h>

namespace qmx::com {

CApartamentoCOM::CApartamentoCOM() : m_resultado(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

CApartamentoCOM::~CApartamentoCOM() {
  // Every successful initialisation, S_FALSE included, is matched by one
  // uninitialisation.
  if (m_resultado >= 0) ::CoUninitialize();
}

}  // namespace qmx::com
