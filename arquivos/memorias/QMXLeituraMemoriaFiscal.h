#pragma once

#include <string>

#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/ui/EditValor.h"

namespace qmx {

// Filter dialog of the fiscal-memory reading; the kind ("c" complete, "s"
// simplified) comes from the export. The reading goes by period, by
// Z-reduction counters, or into the Ato COTEPE 17/04 file; the first two
// are printed or written to a text file, the third is always a file. The
// printer layer writes every file; the dialog names, signs and stores it.
class CQMXLeituraMemoriaFiscal : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14024;
  static constexpr int IDC_POR_PERIODO = 13014;
  static constexpr int IDC_POR_REDUCAO = 13015;
  static constexpr int IDC_ATO_COTEPE = 13059;
  static constexpr int IDC_EXPORTA = 13016;
  static constexpr int IDC_DATA_INICIAL = 13017;
  static constexpr int IDC_DATA_FINAL = 13018;
  static constexpr int IDC_REDUCAO_INICIAL = 13019;
  static constexpr int IDC_REDUCAO_FINAL = 13020;
  static constexpr int IDC_COTEPE_INICIAL = 13060;
  static constexpr int IDC_COTEPE_FINAL = 13061;

  // The reading types, in the order of the radio buttons.
  enum TipoLeitura { PorPeriodo = 0, PorReducao = 1, AtoCotepe = 2 };

  static constexpr const char* kTitulo = "Torvo ECF - Leitura Memória Fiscal";

  CQMXLeituraMemoriaFiscal() : CQMXFiltroArquivo(IDD, "QMXLeituraMemoriaFiscal") {}

  bool Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                  const std::string& tipo);
  const std::string& Tipo() const { return m_strTipo; }
  // "LMFCompleta", "LMFSimplificada" or empty, after start-up.
  const std::string& Etiqueta() const { return m_strEtiqueta; }

  void OnIdle() override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id, int notificacao) override;
  void OnKillFocus(int idControle) override;

 private:
  // The chosen type by its radio button; -1 when none is checked.
  int TipoEscolhido() const;
  // Enables only the edits of the chosen type; the export box is disabled
  // while the Ato COTEPE type is chosen.
  void AtualizaHabilitacao();
  // The per-branch check of this computer's ECF. False when the OK must
  // stop (a message was shown and the dialog closed).
  bool ConfirmaECFDaFilial();
  // The checks of the range; false after an exclamation box.
  bool Valida(int tipo);
  void GeraAtoCotepe();
  void LeMemoria(int tipo);
  void Aviso(const std::string& texto) const;

  std::string m_strTipo;
  std::string m_strEtiqueta;
  ui::CZTEditValor m_edReducaoInicial;
  ui::CZTEditValor m_edReducaoFinal;
  ui::CZTEditData m_edCotepeInicial;
  ui::CZTEditData m_edCotepeFinal;
  CVerificacaoPeriodo m_periodoCotepe;
};

}  // namespace qmx
