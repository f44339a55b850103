#include "plataforma/com/Ativacao.h"

#include <mutex>
#include <vector>

namespace qmx::com {
namespace {

struct Registro {
  std::uint32_t cookie;
  CLSID clsid;
  IUnknown* fabrica;
  std::uint32_t contextos;
};

struct Tabela {
  std::mutex trava;  // data servers may register from their own threads
  std::vector<Registro> registros;
  std::uint32_t proximoCookie = 1;
};

Tabela& TabelaFabricas() {
  static Tabela tabela;
  return tabela;
}

// The newest factory of the class that runs in one of the contexts, with a
// reference taken for the caller, and the contexts it runs in; null when
// there is none.
IUnknown* ProcuraFabrica(const CLSID& clsid, std::uint32_t contexto, std::uint32_t& contextos) {
  Tabela& tabela = TabelaFabricas();
  std::lock_guard<std::mutex> trava(tabela.trava);
  for (auto it = tabela.registros.rbegin(); it != tabela.registros.rend(); ++it) {
    if (it->clsid == clsid && (it->contextos & contexto) != 0) {
      it->fabrica->AddRef();
      contextos = it->contextos & contexto;
      return it->fabrica;
    }
  }
  return nullptr;
}

bool PedidoValido(const COSERVERINFO* servidor, std::uint32_t quantos, const MULTI_QI* resultados) {
  if (quantos == 0 || !resultados) return false;
  for (std::uint32_t i = 0; i < quantos; ++i)
    if (!resultados[i].pIID) return false;
  if (!servidor) return true;
  if (servidor->dwReserved1 != 0 || servidor->dwReserved2 != 0) return false;
  if (const COAUTHINFO* autenticacao = servidor->pAuthInfo) {
    if (autenticacao->dwAuthnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY) return false;
    if (autenticacao->dwImpersonationLevel > RPC_C_IMP_LEVEL_DELEGATE) return false;
  }
  return true;
}

}  // namespace

HRESULT CoRegisterClassObject(const CLSID& clsid, IUnknown* fabrica, std::uint32_t contextos,
                              std::uint32_t* cookie) {
  if (!fabrica || !cookie) return E_INVALIDARG;
  if ((contextos & CLSCTX_ALL) == 0) return E_INVALIDARG;
  fabrica->AddRef();
  Tabela& tabela = TabelaFabricas();
  std::lock_guard<std::mutex> trava(tabela.trava);
  *cookie = tabela.proximoCookie++;
  tabela.registros.push_back({*cookie, clsid, fabrica, contextos});
  return S_OK;
}

HRESULT CoRevokeClassObject(std::uint32_t cookie) {
  IUnknown* fabrica = nullptr;
  {
    Tabela& tabela = TabelaFabricas();
    std::lock_guard<std::mutex> trava(tabela.trava);
    for (auto it = tabela.registros.begin(); it != tabela.registros.end(); ++it) {
      if (it->cookie == cookie) {
        fabrica = it->fabrica;
        tabela.registros.erase(it);
        break;
      }
    }
  }
  if (!fabrica) return E_INVALIDARG;
  fabrica->Release();  // outside the lock: the factory may go away here
  return S_OK;
}

HRESULT CoCreateInstanceEx(const CLSID& clsid, IUnknown* externo, std::uint32_t contexto,
                           const COSERVERINFO* servidor, std::uint32_t quantos, MULTI_QI* resultados) {
  if (!PedidoValido(servidor, quantos, resultados)) return E_INVALIDARG;
  for (std::uint32_t i = 0; i < quantos; ++i) {
    resultados[i].pItf = nullptr;
    resultados[i].hr = E_NOINTERFACE;
  }
  std::uint32_t contextos = 0;
  IUnknown* fabrica = ProcuraFabrica(clsid, contexto, contextos);
  if (!fabrica) {
    for (std::uint32_t i = 0; i < quantos; ++i) resultados[i].hr = REGDB_E_CLASSNOTREG;
    return REGDB_E_CLASSNOTREG;
  }
  // Authentication settings only mean something for a server in another
  // process; a class that runs only in this one refuses them.
  if (servidor && servidor->pAuthInfo && (contextos & (CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)) == 0) {
    fabrica->Release();
    return E_INVALIDARG;
  }
  IClassFactory* fabricaClasse = nullptr;
  HRESULT resultado = fabrica->QueryInterface(IClassFactory::kIID, reinterpret_cast<void**>(&fabricaClasse));
  fabrica->Release();
  if (FAILED(resultado)) return resultado;

  IUnknown* objeto = nullptr;
  resultado = fabricaClasse->CreateInstance(externo, IUnknown::kIID, reinterpret_cast<void**>(&objeto));
  fabricaClasse->Release();
  if (FAILED(resultado) || !objeto) {
    const HRESULT falha = FAILED(resultado) ? resultado : E_UNEXPECTED;
    for (std::uint32_t i = 0; i < quantos; ++i) resultados[i].hr = falha;
    return falha;
  }
  std::uint32_t achados = 0;
  for (std::uint32_t i = 0; i < quantos; ++i) {
    void* interface = nullptr;
    resultados[i].hr = objeto->QueryInterface(*resultados[i].pIID, &interface);
    if (SUCCEEDED(resultados[i].hr)) {
      resultados[i].pItf = static_cast<IUnknown*>(interface);
      ++achados;
    }
  }
  objeto->Release();
  if (achados == quantos) return S_OK;
  return achados == 0 ? E_NOINTERFACE : CO_S_NOTALLINTERFACES;
}

HRESULT CoSetProxyBlanket(IUnknown* proxy, std::uint32_t servicoAutenticacao, std::uint32_t servicoAutorizacao,
                          const wchar_t* principal, std::uint32_t nivelAutenticacao,
                          std::uint32_t nivelPersonificacao, void* identidade, std::uint32_t capacidades) {
  if (!proxy) return E_INVALIDARG;
  IClientSecurity* seguranca = nullptr;
  HRESULT resultado = proxy->QueryInterface(IClientSecurity::kIID, reinterpret_cast<void**>(&seguranca));
  if (FAILED(resultado)) return resultado;
  resultado = seguranca->SetBlanket(proxy, servicoAutenticacao, servicoAutorizacao, principal, nivelAutenticacao,
                                    nivelPersonificacao, identidade, capacidades);
  seguranca->Release();
  return resultado;
}

}  // namespace qmx::com
