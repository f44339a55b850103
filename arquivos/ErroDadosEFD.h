#pragma once

#include <stdexcept>

#include "plataforma/com/HResult.h"

namespace qmx::efd {

// A data server answered with a failure while a digital-bookkeeping file
// was built: the part being written stops and the failure is reported with
// the source line where it was found.
class CErroDadosEFD : public std::runtime_error {
 public:
  CErroDadosEFD(com::HRESULT resultado, int linha)
      : std::runtime_error("falha do servidor de dados"), m_resultado(resultado), m_linha(linha) {}
  com::HRESULT Resultado() const { return m_resultado; }
  int Linha() const { return m_linha; }

 private:
  com::HRESULT m_resultado;
  int m_linha;
};

inline void Exige(com::HRESULT resultado, int linha) {
  if (com::FAILED(resultado)) throw CErroDadosEFD(resultado, linha);
}

}  // namespace qmx::efd
