#pragma once

#include <cstdint>
#include <functional>
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

  // Sends the pieces to the printer as each is built, in order: the two
  // opening texts and the five pieces of items. The ECF's mode is read for
  // the first piece and, for a branch in "DF", the branch record for the
  // fourth, so a failed read is reported between the pieces already
  // printed and the rest; the report goes on.
  void ImprimePecas(const REG_EC_MESTRE_FILIALPS& parametros, std::uint16_t ecf,
                    const std::function<void(const std::string&)>& imprime);

 private:
  bool ECFAutonomo(std::uint16_t ecf);
  bool ProgramaCredito(std::uint16_t filial);

  TriploConexao m_triplo;
};

}  // namespace qmx
