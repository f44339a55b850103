#pragma once

#include <cstdint>
#include <string>

#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// Filter dialog of the Venda do Período file: branch, period and layout.
// "Convênio 57/95" opens the Sintegra dialog preset with them (that dialog
// writes the file); "Ato COTEPE/ICMS 09/08" writes the digital-bookkeeping
// layout in the chosen profile, its ECF lines collected by the SPED
// extract's dialog.
class CQMXVendaPeriodo : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14030;
  static constexpr int IDC_DATA_INICIAL = 13053;
  static constexpr int IDC_DATA_FINAL = 13054;
  static constexpr int IDC_FILIAL = 13055;
  static constexpr int IDC_NOME_FILIAL = 13057;
  static constexpr int IDC_CONVENIO = 13065;
  static constexpr int IDC_ATO_COTEPE = 13066;
  static constexpr int IDC_PERFIL_A = 13091;
  static constexpr int IDC_PERFIL_B = 13092;
  static constexpr const char* kTitulo = "Torvo ECF - Arquivo Eletrônico Venda do Período";

  CQMXVendaPeriodo() : CQMXFiltroArquivo(IDD, "QMXVendaPeriodo") {}

  // The file of the digital-bookkeeping layout for a branch and period:
  // true with its full path when it was written and signed.
  bool GeraArquivo(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal, std::string& caminho);

  // The path of the file the last OK wrote, empty when none was.
  const std::string& CaminhoArquivo() const { return m_caminho; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  std::string m_caminho;
};

}  // namespace qmx
