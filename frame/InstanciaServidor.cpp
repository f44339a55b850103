#include "frame/InstanciaServidor.h"

#include <cstdio>
#include <string>

#include "frame/Espera.h"
#include "frame/RegistraEventoServidor.h"
#include "frame/ServidorRemoto.h"
#include "plataforma/com/Ativacao.h"
#include "plataforma/eventos/LogEventos.h"

namespace qmx {
namespace {

using namespace qmx::com;

// Asks for the one interface; the result and the pointer come back through
// the query entry.
HRESULT Cria(const CLSID& clsid, IUnknown* externo, std::uint32_t contexto, const COSERVERINFO* servidor,
             MULTI_QI& consulta) {
  consulta.pItf = nullptr;
  consulta.hr = S_OK;
  const HRESULT resultado = CoCreateInstanceEx(clsid, externo, contexto, servidor, 1, &consulta);
  if (FAILED(resultado)) return resultado;
  return consulta.hr;
}

void DiagnosticaPrimeiraFalha(const CLSID& clsid, HRESULT resultado) {
  RegistraEventoServidor(clsid, resultado, eventos::EVENTLOG_WARNING_TYPE,
                         "\n\nA primeira tentativa de instanciar o servidor falhou");
  std::string saida;
  PingServidor(PegaServidorRemoto(clsid), saida);
  RegistraEventoServidor(clsid, resultado, eventos::EVENTLOG_ERROR_TYPE, saida);
}

}  // namespace

HRESULT InstanciaServidor(const CLSID& clsid, IUnknown* externo, std::uint32_t contexto, const IID& iid,
                          void** interface, std::uint32_t flags) {
  // The request: no server name, no authentication, impersonation allowed.
  COAUTHINFO autenticacao;
  autenticacao.dwAuthnSvc = RPC_C_AUTHN_NONE;
  autenticacao.dwAuthzSvc = RPC_C_AUTHZ_NONE;
  autenticacao.pwszServerPrincName = nullptr;
  autenticacao.dwAuthnLevel = RPC_C_AUTHN_LEVEL_NONE;
  autenticacao.dwImpersonationLevel = RPC_C_IMP_LEVEL_IMPERSONATE;
  autenticacao.pAuthIdentityData = nullptr;
  autenticacao.dwCapabilities = EOAC_NONE;
  COSERVERINFO servidor;
  servidor.pwszName = nullptr;
  servidor.pAuthInfo = &autenticacao;
  MULTI_QI consulta;
  consulta.pIID = &iid;

  HRESULT resultado = E_FAIL;
  for (int n = 0; n < kInstanciaTentativas; ++n) {
    resultado = Cria(clsid, externo, contexto, &servidor, consulta);
    if (SUCCEEDED(resultado) && n > 1) {
      char mensagem[64];
      std::snprintf(mensagem, sizeof mensagem, "Instancia estabelecida com sucesso na vez %d", n);
      RegistraEventoServidor(clsid, resultado, eventos::EVENTLOG_WARNING_TYPE, mensagem);
    }
    if (resultado == E_INVALIDARG) resultado = Cria(clsid, externo, contexto, nullptr, consulta);
    if (resultado != RPC_S_SERVER_UNAVAILABLE || (flags & kInstanciaRepeteIndisponivel) == 0) break;
    if (n == 1 && (flags & kInstanciaRegistraEventos) != 0) DiagnosticaPrimeiraFalha(clsid, resultado);
    Dorme(kInstanciaIntervaloMs);
  }

  if (SUCCEEDED(resultado) && consulta.pItf) {
    // The answer of a server in this process (no proxy) is not a failure.
    CoSetProxyBlanket(consulta.pItf, RPC_C_AUTHN_NONE, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_NONE,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (interface) {
      *interface = consulta.pItf;
    } else {
      consulta.pItf->Release();
    }
    return resultado;
  }
  if (FAILED(resultado) && (flags & kInstanciaRegistraEventos) != 0)
    RegistraEventoServidor(clsid, resultado, eventos::EVENTLOG_ERROR_TYPE, "\n\nErro instanciando servidor");
  if (interface) *interface = nullptr;
  return resultado;
}

}  // namespace qmx
