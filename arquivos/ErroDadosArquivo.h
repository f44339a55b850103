#pragma once

#include <stdexcept>

#include "plataforma/com/HResult.h"

namespace qmx {

// A data server failed while a file was being made: the result code and the
// source line of the call, for the report that ends the generation.
class CErroDadosArquivo : public std::runtime_error {
 public:
  CErroDadosArquivo(com::HRESULT resultado, int linha)
      : std::runtime_error("falha do servidor de dados"), m_resultado(resultado), m_linha(linha) {}
  com::HRESULT Resultado() const { return m_resultado; }
  int Linha() const { return m_linha; }

 private:
  com::HRESULT m_resultado;
  int m_linha;
};

// Stops the generation on a failed data-server call.
inline void ExigeDados(com::HRESULT resultado, int linha) {
  if (com::FAILED(resultado)) throw CErroDadosArquivo(resultado, linha);
}

}  // namespace qmx
