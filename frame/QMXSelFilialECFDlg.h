#pragma once

#include <cstdint>
#include <string>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/EmissoraEdit.h"
#include "plataforma/ui/FilialEdit.h"

namespace qmx {

// Lets the operator choose one ECF of a branch. The window title is the
// caller's text; the chosen ECF is read back after the modal run.
class CQMXSelFilialECFDlg : public ui::CDialogo {
 public:
  static constexpr int IDD = 14027;
  static constexpr int IDC_EMISSORA = 13035;
  static constexpr int IDC_FILIAL = 13036;
  static constexpr int IDC_NOME_FILIAL = 13037;
  static constexpr int IDC_NOME_EMISSORA = 13038;

  CQMXSelFilialECFDlg() : ui::CDialogo(IDD) {}

  bool Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  bool Inicializa(std::uint16_t filialSelecao, std::uint8_t flagSelecao, const char* titulo);

  // The ECF held now: the one confirmed by OK, or what the last OK attempt
  // read (0 unless that attempt had an ECF but no branch).
  std::uint16_t GetECFSelecionado() const { return m_nEcfSelecionado; }
  std::uint16_t GetFilialSelecionada() const { return m_nFilialSelecionada; }

 protected:
  bool OnInitDialog() override;
  // Branch and ECF must both be chosen; a missing one is named by a
  // catalogue message and the dialog stays open.
  void OnOK() override;
  // Leaving the branch binds the ECF edit to the branch shown.
  void OnKillFocus(int id) override;

 public:
  // The dialog has no help: F1 does nothing.
  void OnHelp() override {}

 private:
  TriploConexao m_triplo;
  ui::CFilialEdit m_editFilial;
  ui::CEmissoraEdit m_editEmissora;
  std::uint16_t m_nFilialSelecionada = 0;
  std::uint16_t m_nEcfSelecionado = 0;
  std::uint8_t m_nFlagSelecao = 0;
  const char* m_pszTitulo = nullptr;
};

}  // namespace qmx
