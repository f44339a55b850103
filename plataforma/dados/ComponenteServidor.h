#pragma once

#include <mutex>

#include "plataforma/com/Ativacao.h"
#include "plataforma/com/ObjetoCOM.h"
#include "plataforma/dados/FalhasInjetadas.h"

namespace qmx::dados {

// A data server as a component that callers activate by its class id. Its
// records are read and written through the connection classes; the
// component answers for the server being there.
template <class TInterface>
class CComponenteServidor : public com::CObjetoCOM<TInterface> {};

// Makes the objects of one data-server class, each new and alone (no
// aggregation), unless an activation fault is injected.
template <class TObjeto>
class CFabricaServidor : public com::CObjetoCOM<com::IClassFactory> {
 public:
  com::HRESULT QMX_COM CreateInstance(com::IUnknown* externo, const com::IID& iid, void** objeto) override {
    if (!objeto) return com::E_POINTER;
    *objeto = nullptr;
    if (externo) return com::CLASS_E_NOAGGREGATION;
    if (const auto falha = FalhaAtivacaoAgora()) return *falha;
    auto* servidor = new TObjeto;
    const com::HRESULT resultado = servidor->QueryInterface(iid, objeto);
    servidor->Release();
    return resultado;
  }
  com::HRESULT QMX_COM LockServer(bool) override { return com::S_OK; }
};

// Registers the class factory of a data server's objects in the process,
// once, for the life of the process (revoked when the library goes away).
template <class TObjeto>
void RegistraFabricaServidor(const com::CLSID& classe) {
  static std::once_flag feito;
  std::call_once(feito, [&classe] {
    auto* fabrica = new CFabricaServidor<TObjeto>;
    static com::CFabricaRegistrada registro(classe, fabrica);
    fabrica->Release();  // the registration keeps its own reference
  });
}

// The same for a component that only answers for the server being there.
template <class TInterface>
void RegistraComponenteServidor(const com::CLSID& classe) {
  RegistraFabricaServidor<CComponenteServidor<TInterface>>(classe);
}

}  // namespace qmx::dados
