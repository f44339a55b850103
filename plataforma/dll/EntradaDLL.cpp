// The entry point of QMXUTIL.dll. In the point-of-sale program the library's
// dialogs and boxes are the system's own, built from the DLL's dialog
// resources; with a script of answers (QMX_ROTEIRO, as the command-line
// program and the tests give) the scripted host stays.
#include <cstdlib>

#include "plataforma/ui/HostJanelas.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE modulo, DWORD motivo, LPVOID) {
  if (motivo == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(modulo);
    const char* roteiro = std::getenv("QMX_ROTEIRO");
    if (!roteiro || !*roteiro) {
      static qmx::ui::HostJanelas host(modulo);
      qmx::ui::DefineHost(&host);
    }
  }
  return TRUE;
}
