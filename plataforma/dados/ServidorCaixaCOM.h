#pragma once

#include "plataforma/com/Interfaces.h"

namespace qmx::dados {

// The point-of-sale cash server as a component that callers activate by its
// class id (the payment-means report does). Its records are read through
// the connection classes; the component answers for the server being
// there.
inline constexpr com::CLSID kClasseServidorCaixa{
    0x0026C16C, 0x45B0, 0x11D4, {0x92, 0x74, 0x00, 0xA0, 0xC9, 0xAC, 0xA8, 0xC4}};

class IZTEC_ServidorCaixa : public com::IUnknown {
 public:
  static constexpr com::IID kIID{0x0026C16B, 0x45B0, 0x11D4, {0x92, 0x74, 0x00, 0xA0, 0xC9, 0xAC, 0xA8, 0xC4}};

 protected:
  ~IZTEC_ServidorCaixa() = default;
};

// Registers the component's class factory in the process, once.
void RegistraServidorCaixa();

}  // namespace qmx::dados
