#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "arquivos/sintegra/ContextoSintegra.h"
#include "arquivos/sintegra/ItensSintegra.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx::sintegra {

// The notas fiscais of the branch in the period: register 50 once for each
// CFOP and rate group of a nota (with that group's values) and register 54
// for each item of goods. The notas of a branch are few: their lines are
// kept, sorted and then written (50 by date, 54 by CNPJ, series, number
// and item number).
class CNotasSintegra {
 public:
  CNotasSintegra(ContextoSintegra& contexto, CItensSintegra& itens) : m_contexto(contexto), m_itens(itens) {}

  void Le();
  std::uint32_t Escreve50();
  std::uint32_t Escreve54();
  // The numbers of the notas left out because their participant can no
  // longer be read.
  const std::vector<std::uint32_t>& SemParticipante() const { return m_semParticipante; }

 private:
  const std::string& Cfop(std::uint16_t natureza);

  ContextoSintegra& m_contexto;
  CItensSintegra& m_itens;
  std::vector<std::string> m_linhas50;
  std::vector<std::string> m_linhas54;
  std::map<std::uint16_t, std::string> m_cfops;
  std::vector<std::uint32_t> m_semParticipante;
};

}  // namespace qmx::sintegra
