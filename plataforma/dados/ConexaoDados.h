#pragma once

#include <cstdint>
#include <string>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/com/HResult.h"
#include "plataforma/dados/PoolSessoes.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::dados {

// What every connection class shares: Inicializa with the connection
// triple finds the company's database (EnderecoBase.h) and borrows a
// session from the process's pool; Finaliza, or the destructor, gives it
// back. Operations return a signed 32-bit result (negative on failure) and
// report nothing themselves: reporting is the caller's.
class CConexaoDados {
 public:
  CConexaoDados() = default;
  virtual ~CConexaoDados();
  CConexaoDados(const CConexaoDados&) = delete;
  CConexaoDados& operator=(const CConexaoDados&) = delete;

  // S_OK, or RPC_S_SERVER_UNAVAILABLE when the company has no database or
  // it cannot be reached. A second call starts over with the new triple.
  com::HRESULT Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  void Finaliza();

  bool Inicializada() const { return static_cast<bool>(m_sessao); }
  const TriploConexao& Triplo() const { return m_triplo; }

 protected:
  // Runs one operation on the session and turns engine failures into
  // result codes. A session that lost its database is not used again.
  template <class Operacao>
  com::HRESULT Executa(Operacao&& operacao) {
    if (!m_sessao) return QMX_E_NAO_INICIALIZADA;
    try {
      return operacao(*m_sessao);
    } catch (...) {
      return Falhou();
    }
  }

 private:
  com::HRESULT Falhou();

  TriploConexao m_triplo;
  CSessaoEmprestada m_sessao;
};

}  // namespace qmx::dados
