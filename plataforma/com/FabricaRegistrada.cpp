#include "plataforma/com/Ativacao.h"

namespace qmx::com {

CFabricaRegistrada::CFabricaRegistrada(const CLSID& clsid, IUnknown* fabrica, std::uint32_t contextos)
    : m_resultado(CoRegisterClassObject(clsid, fabrica, contextos, &m_cookie)) {}

CFabricaRegistrada::~CFabricaRegistrada() {
  if (m_resultado >= 0) CoRevokeClassObject(m_cookie);
}

}  // namespace qmx::com
