#pragma once

#include <cstdint>

#include "plataforma/com/Interfaces.h"

namespace qmx::com {

// Class factories registered by the process, and activation through them.
//
// A data server makes its classes available by registering a factory for
// each class id, with the contexts it can run in. Activation finds the
// factory, has it make the object and asks the object for the interfaces the
// caller wants. A factory answers with its own result when it cannot make an
// object: a data server whose database cannot be reached answers
// RPC_S_SERVER_UNAVAILABLE, and the caller decides whether to try again.
//
// On Windows these are the system's COM calls (the thread must have COM
// initialised, see CApartamentoCOM) and a factory registered here serves
// this process only. Elsewhere the process keeps its own table, described
// below, which every thread reaches.

// Registers a factory (it is kept with a reference until revoked); the
// cookie identifies the registration. A class id registered twice: the
// newer registration answers until it is revoked.
HRESULT CoRegisterClassObject(const CLSID& clsid, IUnknown* fabrica, std::uint32_t contextos,
                              std::uint32_t* cookie);
HRESULT CoRevokeClassObject(std::uint32_t cookie);

// Activation of a class with one or more interfaces at once. Results:
// REGDB_E_CLASSNOTREG for a class without a factory in the contexts asked
// for; E_INVALIDARG for an empty or malformed request (no entries, an entry
// without an interface id, reserved fields set, authentication or
// impersonation levels out of range) and for authentication settings given
// to a class that runs only in-process; the factory's own failure; otherwise
// S_OK when every interface was found, CO_S_NOTALLINTERFACES when some were
// and E_NOINTERFACE when none was. Each entry gets its own result and, on
// success, its interface pointer (the caller releases it).
HRESULT CoCreateInstanceEx(const CLSID& clsid, IUnknown* externo, std::uint32_t contexto,
                           const COSERVERINFO* servidor, std::uint32_t quantos, MULTI_QI* resultados);

// Sets the security of a proxy. An object that is not reached through a
// proxy has no such settings and answers E_NOINTERFACE.
HRESULT CoSetProxyBlanket(IUnknown* proxy, std::uint32_t servicoAutenticacao, std::uint32_t servicoAutorizacao,
                          const wchar_t* principal, std::uint32_t nivelAutenticacao,
                          std::uint32_t nivelPersonificacao, void* identidade, std::uint32_t capacidades);

// A factory registered for the life of the object.
class CFabricaRegistrada {
 public:
  CFabricaRegistrada(const CLSID& clsid, IUnknown* fabrica, std::uint32_t contextos = CLSCTX_ALL);
  ~CFabricaRegistrada();
  CFabricaRegistrada(const CFabricaRegistrada&) = delete;
  CFabricaRegistrada& operator=(const CFabricaRegistrada&) = delete;
  HRESULT Resultado() const { return m_resultado; }

 private:
  std::uint32_t m_cookie = 0;
  HRESULT m_resultado;
};

}  // namespace qmx::com
