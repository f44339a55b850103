#pragma once

#include "plataforma/com/HResult.h"

namespace qmx::com {

// COM initialised on the calling thread for the life of the object, as the
// point-of-sale program does on its user-interface thread before it calls
// the library. The library's own data servers register their classes in
// that apartment. Where the component model is the library's own
// in-process table, nothing needs initialising.
class CApartamentoCOM {
 public:
  enum class Tipo {
    UmaLinha,     // single-threaded apartment, as a user-interface thread has
    VariasLinhas  // multithreaded apartment: no window of its own
  };
  explicit CApartamentoCOM(Tipo tipo = Tipo::UmaLinha);
  ~CApartamentoCOM();  // uninitialises what the constructor initialised
  CApartamentoCOM(const CApartamentoCOM&) = delete;
  CApartamentoCOM& operator=(const CApartamentoCOM&) = delete;

  // S_OK, S_FALSE when the thread was already initialised, or the failure.
  HRESULT Resultado() const { return m_resultado; }

 private:
  HRESULT m_resultado;
};

}  // namespace qmx::com
