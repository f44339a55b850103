#pragma once

#include <string>

#include "arquivos/memorias/QMXFiltroMFD.h"

namespace qmx {

// Filter dialog of the Espelho MFD file, the text mirror of the printer's
// detail memory: the whole memory, a period or a range of COO numbers. The
// printer layer downloads the memory and writes the mirror in the
// installation folder (a Daruma printer answers in its own folder); the
// dialog signs the mirror and stores it.
class CQMXEspelhoMFD : public CQMXFiltroMFD {
 public:
  static constexpr int IDD = 14007;
  static constexpr int IDC_TOTAL = 13001;
  static constexpr int IDC_POR_PERIODO = 13002;
  static constexpr int IDC_POR_COO = 13003;
  static constexpr int IDC_DATA_INICIAL = 13004;
  static constexpr int IDC_DATA_FINAL = 13005;
  static constexpr int IDC_COO_INICIAL = 13006;
  static constexpr int IDC_COO_FINAL = 13007;

  static constexpr const char* kTitulo = "Torvo ECF";

  // Its failures are reported under the source name of the fiscal-memory
  // reading, as are those of every reading of the printer's memories.
  CQMXEspelhoMFD()
      : CQMXFiltroMFD(IDD, "QMXLeituraMemoriaFiscal",
                      {IDC_POR_PERIODO, IDC_POR_COO, IDC_DATA_INICIAL, IDC_DATA_FINAL, IDC_COO_INICIAL, IDC_COO_FINAL}) {}

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  // The range the printer is asked for.
  struct Intervalo {
    std::string tipo;  // "0" total, "1" dates, "2" COO
    std::string inicial;
    std::string final;
  };

  // The range of the chosen button; nothing after a box (the dialog stays
  // open).
  bool MontaIntervalo(long ultimoCOO, Intervalo& intervalo);
  // Downloads and converts the memory; the local mirror, or nothing when
  // the printer failed.
  bool GeraEspelho(const std::string& serie, const Intervalo& intervalo, std::string& local);
};

}  // namespace qmx
