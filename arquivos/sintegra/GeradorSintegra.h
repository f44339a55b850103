#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "arquivos/sintegra/ContextoSintegra.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::sintegra {

// What the operator chose: branch, ECF (0: all of the branch), period and
// the three codes of the header.
struct FiltroSintegra {
  std::uint16_t filial = 0;
  std::uint16_t emissora = 0;
  NumeroDia dataInicial = 0;
  NumeroDia dataFinal = 0;
  int convenio = 3;
  int natureza = 3;
  int finalidade = 1;
};

// The register types of the totals and how many lines each wrote, in the
// order the families were written.
using Contadores = std::vector<std::pair<std::uint16_t, std::uint32_t>>;

// The 90 lines: the counters with the type 99 total added, nine pairs a
// line, each line ending with the number of 90 lines.
std::vector<std::string> Registros90(const REG_FILIALPS& filial, Contadores contadores);

// Writes the whole Sintegra file of a branch and period: 10, 11, 50, 54,
// the 60 family, 61 and 61R, 75 and 90. The file is written beside its
// final name and replaces it only when complete; a failure leaves nothing
// behind (CErroDadosSintegra for a data server, CExcecaoArquivo for the
// disk).
class CGeradorSintegra {
 public:
  explicit CGeradorSintegra(const TriploConexao& triplo) : m_triplo(triplo) {}

  // `antesDeGuardar` finishes the whole file (its signature) before it
  // takes its name: a file under that name is always whole and signed.
  void Gera(const FiltroSintegra& filtro, const std::string& caminho,
            const CArquivoTexto::AntesDeGuardar& antesDeGuardar = {});
  // The notas left out of the last file (their participant can no longer
  // be read), by number.
  const std::vector<std::uint32_t>& NotasSemParticipante() const { return m_semParticipante; }

 private:
  TriploConexao m_triplo;
  std::vector<std::uint32_t> m_semParticipante;
};

}  // namespace qmx::sintegra
