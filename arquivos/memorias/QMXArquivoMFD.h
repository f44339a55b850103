#pragma once

#include <string>

#include "arquivos/memorias/QMXFiltroMFD.h"

namespace qmx {

// Filter dialog of the MFD file in the Ato COTEPE 17/04 layout, by period
// or by a range of COO numbers. The printer layer writes the file into its
// answer folder; the dialog signs it there, stores it and removes it.
// Daruma, Epson, Elgin and Sweda printers cannot make it.
class CQMXArquivoMFD : public CQMXFiltroMFD {
 public:
  static constexpr int IDD = 14025;
  static constexpr int IDC_POR_PERIODO = 13021;
  static constexpr int IDC_POR_COO = 13022;
  static constexpr int IDC_DATA_INICIAL = 13026;
  static constexpr int IDC_DATA_FINAL = 13023;
  static constexpr int IDC_COO_INICIAL = 13024;
  static constexpr int IDC_COO_FINAL = 13025;

  static constexpr const char* kTituloArquivo = "Torvo ECF - Arquivo Eletrônico MFD";

  // Its failures are reported under the source name of the fiscal-memory
  // reading, as are those of every reading of the printer's memories.
  CQMXArquivoMFD()
      : CQMXFiltroMFD(IDD, "QMXLeituraMemoriaFiscal",
                      {IDC_POR_PERIODO, IDC_POR_COO, IDC_DATA_INICIAL, IDC_DATA_FINAL, IDC_COO_INICIAL, IDC_COO_FINAL}) {}

  // Whether the printer layer of a model (any letter case) makes the file.
  static bool ModeloGeraArquivo(const std::string& modelo);

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
};

}  // namespace qmx
