#pragma once

#include "plataforma/com/Interfaces.h"

namespace qmx::dados {

// The stock movements' server and the financial integration server, as
// components that the integration passes activate by class id before they
// write through the connection classes.
inline constexpr com::CLSID kClasseServidorMovimentoES{
    0x96F0682F, 0xAFBA, 0x11D2, {0x94, 0x1C, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};
inline constexpr com::CLSID kClasseServidorIntegracaoFN{
    0xB249084E, 0xAF79, 0x11D2, {0xB6, 0x3D, 0x00, 0xA0, 0xC9, 0xB6, 0xFA, 0xC6}};

class IZTES_ServidorMovimento : public com::IUnknown {
 public:
  static constexpr com::IID kIID{0x96F0682E, 0xAFBA, 0x11D2, {0x94, 0x1C, 0x00, 0xA0, 0xC9, 0xEC, 0x15, 0xB5}};

 protected:
  ~IZTES_ServidorMovimento() = default;
};

class IZTFN_ServidorIntegracao : public com::IUnknown {
 public:
  static constexpr com::IID kIID{0xB249084D, 0xAF79, 0x11D2, {0xB6, 0x3D, 0x00, 0xA0, 0xC9, 0xB6, 0xFA, 0xC6}};

 protected:
  ~IZTFN_ServidorIntegracao() = default;
};

// Register the components' class factories in the process, once.
void RegistraServidoresIntegracao();

}  // namespace qmx::dados
