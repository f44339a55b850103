#pragma once

#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// Filter dialog of the DAVs (quotations) an ECF issued in a period: printed
// as the gerencial report "DAV EMITIDOS" or written as the electronic file.
// Its export answers true when the dialog ended with OK, that is when the
// report was printed or the file stored.
class CQMXDAVs : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14009;
  static constexpr int IDC_EMISSORA = 14010;
  static constexpr int IDC_FILIAL = 14011;
  static constexpr int IDC_NOME_FILIAL = 14012;
  static constexpr int IDC_NOME_EMISSORA = 14013;
  static constexpr int IDC_DATA_INICIAL = 14014;
  static constexpr int IDC_DATA_FINAL = 14015;
  static constexpr int IDC_RELATORIO = 13010;
  static constexpr int IDC_ARQUIVO = 13011;

  static constexpr const char* kTituloFiltro = "Torvo ECF - DAVs Emitidos";
  static constexpr const char* kTituloArquivo = "Torvo ECF - Arquivo Eletrônico DAVs";

  CQMXDAVs() : CQMXFiltroArquivo(IDD, "QMXDAVs") {}

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void ImprimeRelatorio(NumeroDia dataInicial, NumeroDia dataFinal);
  void GeraArquivo(NumeroDia dataInicial, NumeroDia dataFinal);
  void ReportaFalhaDados(const class CErroDadosArquivo& erro) const;
};

}  // namespace qmx
