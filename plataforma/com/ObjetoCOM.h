#pragma once

#include <atomic>
#include <cstdint>

#include "plataforma/com/Interfaces.h"

namespace qmx::com {

// Reference counting and interface lookup for an object that implements one
// interface (and IUnknown). A class with more interfaces answers them in
// OutraInterface. Objects are created with new and a count of one; the
// last Release deletes them.
template <class TInterface>
class CObjetoCOM : public TInterface {
 public:
  HRESULT QMX_COM QueryInterface(const IID& iid, void** objeto) override {
    if (!objeto) return E_POINTER;
    *objeto = nullptr;
    if (iid == IUnknown::kIID || iid == TInterface::kIID) {
      *objeto = static_cast<TInterface*>(this);
    } else if (void* outra = OutraInterface(iid)) {
      *objeto = outra;
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  std::uint32_t QMX_COM AddRef() override { return ++m_referencias; }
  std::uint32_t QMX_COM Release() override {
    const std::uint32_t restantes = --m_referencias;
    if (restantes == 0) delete this;
    return restantes;
  }

 protected:
  CObjetoCOM() = default;
  virtual ~CObjetoCOM() = default;
  // Another interface of the object, already cast, or null.
  virtual void* OutraInterface(const IID&) { return nullptr; }

 private:
  std::atomic<std::uint32_t> m_referencias{1};
};

}  // namespace qmx::com
