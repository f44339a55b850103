#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/PartidasContabeis.h"
#include "plataforma/dados/RegistroIntegracao.h"

namespace qmx::dados {

// The financial module's accounting of its receivables: the entries of the
// titles the financial integration writes and of what was received on the
// spot. Its entries carry the origin "FN" and the integration's number.
class CContabilizaBCR : public CConexaoDados {
 public:
  // Whether the server would take the entry; *codigo is its result code
  // (0: it would) and nothing is written.
  com::HRESULT TestaContabilizacao(const REG_CONTABILIDADEPS& lancamento, std::uint16_t* codigo);
  // Records the entry with origin "FN"; a refused one is not written and
  // *codigo says why.
  com::HRESULT Contabiliza(const REG_CONTABILIDADEPS& lancamento, std::uint16_t* codigo);
  // Removes the entries of an integration (its number).
  com::HRESULT ExcluiContabilizacao(std::int32_t numero);
  // The entries of an integration (this module's or the accounting pass's:
  // each integration has a number of its own), in the order written.
  com::HRESULT LeLancamentos(std::int32_t numero, std::vector<REG_CONTABILIDADEPS>* lancamentos);

 private:
  CPartidasContabeis m_partidas;
};

}  // namespace qmx::dados
