#include "plataforma/dados/ServidorCaixaCOM.h"

#include <mutex>

#include "plataforma/com/Ativacao.h"
#include "plataforma/com/ObjetoCOM.h"

namespace qmx::dados {

namespace {

class CServidorCaixa : public com::CObjetoCOM<IZTEC_ServidorCaixa> {};

class CFabricaServidorCaixa : public com::CObjetoCOM<com::IClassFactory> {
 public:
  com::HRESULT CreateInstance(com::IUnknown* externo, const com::IID& iid, void** objeto) override {
    if (!objeto) return com::E_POINTER;
    *objeto = nullptr;
    if (externo) return com::CLASS_E_NOAGGREGATION;
    auto* servidor = new CServidorCaixa;
    const com::HRESULT resultado = servidor->QueryInterface(iid, objeto);
    servidor->Release();
    return resultado;
  }
  com::HRESULT LockServer(bool) override { return com::S_OK; }
};

}  // namespace

void RegistraServidorCaixa() {
  static std::once_flag feito;
  std::call_once(feito, [] {
    auto* fabrica = new CFabricaServidorCaixa;
    // Registered for the life of the process: revoked (and the factory
    // released) when the library goes away.
    static com::CFabricaRegistrada registro(kClasseServidorCaixa, fabrica);
    fabrica->Release();  // the table keeps its own reference
  });
}

}  // namespace qmx::dados
