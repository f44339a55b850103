#include "plataforma/com/Ativacao.h"

#include <cstddef>

#include <objbase.h>
#include <windows.h>

// Activation through the system's COM. The library's own structures and
// interfaces have the system's layouts, so they pass through as they are;
// the checks below hold the layouts to that.
namespace qmx::com {
namespace {

static_assert(sizeof(CLSID) == sizeof(::CLSID) && offsetof(CLSID, Data4) == offsetof(::CLSID, Data4));
static_assert(sizeof(COAUTHINFO) == sizeof(::COAUTHINFO) &&
              offsetof(COAUTHINFO, pwszServerPrincName) == offsetof(::COAUTHINFO, pwszServerPrincName) &&
              offsetof(COAUTHINFO, pAuthIdentityData) == offsetof(::COAUTHINFO, pAuthIdentityData) &&
              offsetof(COAUTHINFO, dwCapabilities) == offsetof(::COAUTHINFO, dwCapabilities));
static_assert(sizeof(COSERVERINFO) == sizeof(::COSERVERINFO) &&
              offsetof(COSERVERINFO, pwszName) == offsetof(::COSERVERINFO, pwszName) &&
              offsetof(COSERVERINFO, pAuthInfo) == offsetof(::COSERVERINFO, pAuthInfo) &&
              offsetof(COSERVERINFO, dwReserved2) == offsetof(::COSERVERINFO, dwReserved2));
static_assert(sizeof(MULTI_QI) == sizeof(::MULTI_QI) && offsetof(MULTI_QI, pItf) == offsetof(::MULTI_QI, pItf) &&
              offsetof(MULTI_QI, hr) == offsetof(::MULTI_QI, hr));
static_assert(sizeof(HRESULT) == sizeof(::HRESULT) && sizeof(wchar_t) == sizeof(WCHAR));

const ::CLSID& Sistema(const CLSID& clsid) { return *reinterpret_cast<const ::CLSID*>(&clsid); }
::IUnknown* Sistema(IUnknown* objeto) { return reinterpret_cast<::IUnknown*>(objeto); }

}  // namespace

HRESULT CoRegisterClassObject(const CLSID& clsid, IUnknown* fabrica, std::uint32_t contextos,
                              std::uint32_t* cookie) {
  if (!fabrica || !cookie) return E_INVALIDARG;
  if ((contextos & CLSCTX_ALL) == 0) return E_INVALIDARG;
  // The factory lives in the caller's process and serves its own database:
  // it answers activations from this process only, whatever contexts it
  // would run in, and is never published to other processes.
  DWORD registro = 0;
  const HRESULT resultado =
      ::CoRegisterClassObject(Sistema(clsid), Sistema(fabrica), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &registro);
  *cookie = registro;
  return resultado;
}

HRESULT CoRevokeClassObject(std::uint32_t cookie) { return ::CoRevokeClassObject(cookie); }

HRESULT CoCreateInstanceEx(const CLSID& clsid, IUnknown* externo, std::uint32_t contexto,
                           const COSERVERINFO* servidor, std::uint32_t quantos, MULTI_QI* resultados) {
  return ::CoCreateInstanceEx(Sistema(clsid), Sistema(externo), contexto,
                              reinterpret_cast<::COSERVERINFO*>(const_cast<COSERVERINFO*>(servidor)), quantos,
                              reinterpret_cast<::MULTI_QI*>(resultados));
}

HRESULT CoSetProxyBlanket(IUnknown* proxy, std::uint32_t servicoAutenticacao, std::uint32_t servicoAutorizacao,
                          const wchar_t* principal, std::uint32_t nivelAutenticacao,
                          std::uint32_t nivelPersonificacao, void* identidade, std::uint32_t capacidades) {
  if (!proxy) return E_INVALIDARG;
  return ::CoSetProxyBlanket(Sistema(proxy), servicoAutenticacao, servicoAutorizacao,
                             const_cast<OLECHAR*>(reinterpret_cast<const OLECHAR*>(principal)), nivelAutenticacao,
                             nivelPersonificacao, identidade, capacidades);
}

}  // namespace qmx::com
