#pragma once

#include <cstdint>

#include "plataforma/com/Guid.h"
#include "plataforma/com/HResult.h"

// The calling convention of the interface methods that the system's COM
// calls (reference counting, lookup, the class factory, proxy security):
// stdcall in 32-bit Windows code, as COM requires, the compiler's own
// elsewhere. Their overrides carry it too.
#if defined(_WIN32) && defined(__i386__)
#define QMX_COM __stdcall
#else
#define QMX_COM
#endif

namespace qmx::com {

// The base interface of every component object: interface lookup and
// reference counting. An object lives while its count is above zero.
class IUnknown {
 public:
  static constexpr IID kIID{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  virtual HRESULT QMX_COM QueryInterface(const IID& iid, void** objeto) = 0;
  virtual std::uint32_t QMX_COM AddRef() = 0;
  virtual std::uint32_t QMX_COM Release() = 0;

 protected:
  ~IUnknown() = default;  // released through Release, never deleted directly
};

// Makes the objects of one class. A data server registers one per class id.
class IClassFactory : public IUnknown {
 public:
  static constexpr IID kIID{0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  // A new object; `externo` is the aggregating object or null.
  virtual HRESULT QMX_COM CreateInstance(IUnknown* externo, const IID& iid, void** objeto) = 0;
  virtual HRESULT QMX_COM LockServer(bool travar) = 0;

 protected:
  ~IClassFactory() = default;
};

// Security settings of a proxy: what an object reached across processes
// offers to its clients. The methods stand in the system's order, which its
// COM calls by position.
class IClientSecurity : public IUnknown {
 public:
  static constexpr IID kIID{0x0000013D, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  virtual HRESULT QMX_COM QueryBlanket(IUnknown* proxy, std::uint32_t* servicoAutenticacao,
                                       std::uint32_t* servicoAutorizacao, wchar_t** principal,
                                       std::uint32_t* nivelAutenticacao, std::uint32_t* nivelPersonificacao,
                                       void** identidade, std::uint32_t* capacidades) = 0;
  virtual HRESULT QMX_COM SetBlanket(IUnknown* proxy, std::uint32_t servicoAutenticacao,
                                     std::uint32_t servicoAutorizacao, const wchar_t* principal,
                                     std::uint32_t nivelAutenticacao, std::uint32_t nivelPersonificacao,
                                     void* identidade, std::uint32_t capacidades) = 0;
  virtual HRESULT QMX_COM CopyProxy(IUnknown* proxy, IUnknown** copia) = 0;

 protected:
  ~IClientSecurity() = default;
};

// Where an object may run (CLSCTX).
constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;
constexpr std::uint32_t CLSCTX_INPROC_HANDLER = 0x2;
constexpr std::uint32_t CLSCTX_LOCAL_SERVER = 0x4;
constexpr std::uint32_t CLSCTX_REMOTE_SERVER = 0x10;
constexpr std::uint32_t CLSCTX_ALL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                     CLSCTX_REMOTE_SERVER;  // 23

// Authentication and impersonation settings (RPC_C_...).
constexpr std::uint32_t RPC_C_AUTHN_NONE = 0;
constexpr std::uint32_t RPC_C_AUTHZ_NONE = 0;
constexpr std::uint32_t RPC_C_AUTHN_LEVEL_NONE = 1;
constexpr std::uint32_t RPC_C_AUTHN_LEVEL_PKT_PRIVACY = 6;
constexpr std::uint32_t RPC_C_IMP_LEVEL_IMPERSONATE = 3;
constexpr std::uint32_t RPC_C_IMP_LEVEL_DELEGATE = 4;
constexpr std::uint32_t EOAC_NONE = 0;

// How the client authenticates to a server machine.
struct COAUTHINFO {
  std::uint32_t dwAuthnSvc = RPC_C_AUTHN_NONE;
  std::uint32_t dwAuthzSvc = RPC_C_AUTHZ_NONE;
  const wchar_t* pwszServerPrincName = nullptr;
  std::uint32_t dwAuthnLevel = RPC_C_AUTHN_LEVEL_NONE;
  std::uint32_t dwImpersonationLevel = RPC_C_IMP_LEVEL_IMPERSONATE;
  void* pAuthIdentityData = nullptr;
  std::uint32_t dwCapabilities = EOAC_NONE;
};

// The machine to run on (none: the one the configuration names) and how.
struct COSERVERINFO {
  std::uint32_t dwReserved1 = 0;
  const wchar_t* pwszName = nullptr;
  COAUTHINFO* pAuthInfo = nullptr;
  std::uint32_t dwReserved2 = 0;
};

// One interface asked for at activation, and what came back for it.
struct MULTI_QI {
  const IID* pIID = nullptr;
  IUnknown* pItf = nullptr;
  HRESULT hr = S_OK;
};

}  // namespace qmx::com
