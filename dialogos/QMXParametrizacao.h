#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/dados/RegistroMestre.h"

namespace qmx {

// The configuration-parameters report of the point of sale ("PARAM. CONFIG."),
// printed as a management report: which of the fiscal rules' options this
// installation uses, from the branch's point-of-sale parameters and state.
class CQMXParametrizacao {
 public:
  static constexpr const char* kTitulo = "PARAM. CONFIG.";

  explicit CQMXParametrizacao(const TriploConexao& triplo) : m_triplo(triplo) {}

  // False, with nothing printed, when the company's data cannot be read or
  // the branch may not use ECFs; true when the report ran.
  bool Imprime(std::uint16_t filial, std::uint16_t ecf);

  // The pieces sent to the printer, in order: the two opening texts and the
  // five pieces of items. Reads the ECF's mode and, for a branch in "DF",
  // the branch record; their failures are reported and the report goes on.
  std::vector<std::string> Pecas(const REG_EC_MESTRE_FILIALPS& parametros, std::uint16_t ecf);

 private:
  bool ECFAutonomo(std::uint16_t ecf);
  bool ProgramaCredito(std::uint16_t filial);

  TriploConexao m_triplo;
};

}  // namespace qmx
