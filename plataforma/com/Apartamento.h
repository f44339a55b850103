#pragma once

#include "plataforma/com/HResult.h"

namespace qmx::com {

// COM initialised on the calling thread for the life of the object, as the
// point-of-sale program does on its user-interface thread before it calls
// the library: a single-threaded apartment. The library's own data servers
// register their classes in it. Where the component model is the library's
// own in-process table, nothing needs initialising.
class CApartamentoCOM {
 public:
  CApartamentoCOM();
  ~CApartamentoCOM();  // uninitialises what the constructor initialised
  CApartamentoCOM(const CApartamentoCOM&) = delete;
  CApartamentoCOM& operator=(const CApartamentoCOM&) = delete;

  // S_OK, S_FALSE when the thread was already initialised, or the failure.
  HRESULT Resultado() const { return m_resultado; }

 private:
  HRESULT m_resultado;
};

}  // namespace qmx::com
