#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "arquivos/EnvioArquivoEletronico.h"
#include "arquivos/VerificacaoPeriodo.h"
#include "frame/ContextoBiblioteca.h"
#include "frame/QMXGenerica.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/EditData.h"
#include "plataforma/ui/EmissoraEdit.h"
#include "plataforma/ui/FilialEdit.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// The base of the filter dialogs of the fiscal files and printed reports.
// A dialog of a file builds on it in three steps:
//  - start-up (OnInitDialog): PreparaPeriodo for its date edits,
//    PreparaFilialEmissora when the file is per branch or ECF, then its own
//    controls;
//  - the operator's edits: the period checks and the branch-to-ECF binding
//    run by themselves when an edit loses the focus;
//  - OK: ConfirmaFilialEmissora, then the text of the file built in memory,
//    then EnviaArquivo (temporary file, signature, storage in the company's
//    "Arquivos-Eletronicos" folder, the final box) and EndDialog(IDOK).
// The connection triple comes from the export before the dialog opens.
// Each dialog names its source: the frame's failure reports carry it.
//
// A dialog whose file is not produced yet closes with Cancel when the
// operator presses OK, so that its export answers as for a cancelled
// dialog and nobody is told that a file was made.
class CQMXFiltroArquivo : public ui::CDialogo {
 public:
  CQMXFiltroArquivo(int idModelo, std::string fonte) : ui::CDialogo(idModelo), m_fonte(std::move(fonte)) {}

  bool Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  const TriploConexao& Triplo() const { return m_triplo; }
  // The source name under which this dialog's failures are reported.
  const std::string& Fonte() const { return m_fonte; }

  // What the start-up found (for the dialogs and their tests).
  bool ECFPorFilial() const { return m_ecfPorFilial; }
  int FiliaisPermitidas() const { return m_filiaisLegiveis; }
  NumeroDia InicioSistema() const { return m_mestre.DataInicioSistema; }

 protected:
  enum class InicioPeriodo { Hoje, InicioSistema };

  // The date edits: the final date is today, the initial date today or the
  // system start date; the checks follow `regras`. Date type 1 shows
  // two-digit years.
  void PreparaPeriodo(int idInicial, int idFinal, InicioPeriodo inicio, CVerificacaoPeriodo::Regras regras,
                      int tipoData = 0);
  // The branch edit (branch 0 standing for all unless said otherwise) and,
  // when idEmissora is not 0, the ECF edit bound to it. Nothing is set up
  // for an empty company key.
  void PreparaFilialEmissora(int idFilial, int idRotuloFilial, int idEmissora, int idRotuloEmissora,
                             bool filialZeroComoTodas = true);

  // Reads whether the company's ECFs are controlled per branch (the
  // point-of-sale flag); when they are, the ECF connection is opened once so
  // that a server that cannot be reached is reported at start.
  void LeControleECFPorFilial();

  // Asks the ECF server whether the branch may use ECFs. False when it may
  // not (message 161, the dialog closed with Cancel) or the server failed
  // (message 162; the OK stops and the dialog stays open).
  bool FilialHabilitadaParaECF(std::uint16_t filial);

  // The first step of OK: reads the chosen branch and ECF and checks that
  // the branch may use ECFs. False when the OK must stop: a message was
  // shown and, for a branch not enabled, the dialog was closed with Cancel.
  bool ConfirmaFilialEmissora(const std::string& tituloArquivo);

  // The period of an OK: a date the edit could not read (0) is refused with
  // "Data Inicial inválida." or "Data Final inválida." and its edit takes
  // the focus; a final date before the initial one with message 110. The
  // preset and automatic runs go through here too.
  bool ConfirmaPeriodo(NumeroDia inicial, NumeroDia final, const std::string& titulo);
  // The ECF `ecf` of the branch (any branch for 0): false, with "ECF não
  // cadastrado nesta filial." and the focus on the ECF edit, when there is
  // no such ECF or it belongs to another branch. Its record in `registro`.
  bool ConfirmaEmissora(std::uint16_t filial, std::uint16_t ecf, const std::string& titulo,
                        REG_EMISSORPS* registro = nullptr);
  // The ECF the edit names: 0 when the edit is empty (all the branch's
  // ECFs, where the file allows it); nothing, the message shown, when it
  // names an ECF that does not exist or is of another branch: a typed ECF
  // never widens to all of them.
  std::optional<std::uint16_t> EmissoraDoEdit(std::uint16_t filial, const std::string& titulo);
  // The three in the order of a file of one branch: the period, a branch
  // chosen (message 280 and the focus on the branch edit otherwise), the
  // ECF of the edit. The ECF (0: all of the branch's), or nothing when the
  // OK must stop.
  std::optional<std::uint16_t> ConfirmaPeriodoFilialEmissora(NumeroDia inicial, NumeroDia final, std::uint16_t filial,
                                                             const std::string& titulo);

  // The last steps of OK for a text built in memory.
  bool EnviaArquivo(const std::string& nomeArquivo, const std::string& texto, const AvisoArquivoGerado& aviso,
                    bool mantemTemporario = false);

  void OnOK() override { EndDialog(ui::IDCANCEL); }
  void OnKillFocus(int idControle) override;

  std::string m_fonte;
  TriploConexao m_triplo;
  CQMXGenerica m_generica;
  REG_EC_MESTREPS m_mestre{};
  bool m_ecfPorFilial = false;
  int m_filiaisLegiveis = 0;
  std::uint16_t m_primeiraFilial = 0;

  ui::CZTEditData m_edDataInicial;
  ui::CZTEditData m_edDataFinal;
  CVerificacaoPeriodo m_periodo;
  ui::CFilialEdit m_edFilial;
  ui::CEmissoraEdit m_edEmissora;
  int m_idFilial = 0;
  int m_idEmissora = 0;

  // Filled by ConfirmaFilialEmissora.
  REG_FILIALPS m_regFilial{};
  std::string m_razaoSocial;
  REG_EMISSORPS m_regEmissora{};

 private:
  void ContaFiliaisPermitidas();
  void AoMudarFilial();
};

}  // namespace qmx
