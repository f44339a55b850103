#pragma once

#include <deque>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include "plataforma/ui/HostUI.h"

namespace qmx::ui {

// One thing the operator does in a dialog.
struct AcaoRoteiro {
  enum class Tipo { Digita, Clica, Seleciona, Fecha, Ocioso, Ajuda, SeguraShift, SoltaShift, Tab };
  Tipo tipo = Tipo::Clica;
  int id = 0;
  std::string texto;  // Digita
  int indice = -1;    // Seleciona
  std::vector<int> outrosIndices;  // Seleciona of several rows: the rows after the first
};

// What the operator does in one dialog, in order. idModelo 0 accepts any
// template; another value must match the dialog that opens.
struct DialogoRoteiro {
  int idModelo = 0;
  std::vector<AcaoRoteiro> acoes;
};

// A message box as it was shown, with the answer it got.
struct CaixaMostrada {
  std::string texto;
  std::string titulo;
  unsigned flags = 0;
  int resposta = 0;
  int idModeloAberto = 0;  // the dialog open at the time, 0 when none
};

// The state of a control when a dialog was seen.
struct EstadoControle {
  std::string texto;
  int marcado = 0;
  bool habilitado = true;
  int selecao = -1;
  std::vector<std::string> itens;
  // Report lists: the column titles, alignments and widths, the extended
  // style, every row's cells and the rows selected.
  std::vector<std::string> colunas;
  std::vector<int> alinhamentos;
  std::vector<int> larguras;
  unsigned estiloEstendido = 0;
  std::vector<std::vector<std::string>> linhas;
  std::vector<int> selecionadas;
};

// A modal run as it happened.
struct DialogoExecutado {
  int idModelo = 0;
  std::string titulo;                             // after OnInitDialog
  std::map<int, EstadoControle> aposInicio;       // after OnInitDialog
  int focoAposInicio = 0;                         // the control with the focus then
  int focoAoFimDoRoteiro = 0;                     // and when its actions ran out
  std::map<int, EstadoControle> aoFechar;         // when it closed
  int resultado = 0;
};

// A host that never blocks: it plays the operator from a script and keeps a
// record of every dialog and message box. Dialogs take the next dialog entry
// of the script; when its actions run out and the dialog is still open, the
// host presses Cancel (and closes the dialog itself if Cancel does not).
// Boxes take the next answer of the script, or their default button.
//
// Text form of a script, one step a line ("#" starts a comment):
//   dialogo 14028 | dialogo *      starts the actions of the next dialog
//   digita 13041 01/02/2026        types a text into a control
//   clica 1                        clicks a button (1 = OK, 2 = Cancel)
//   seleciona 13043 2              selects row 2 of a list or combo box
//   tab                            the Tab key: the focus moves on
//   seleciona 13072 0 2            selects rows 0 and 2 of a list that takes several
//   fecha | ocioso | ajuda         closes the window / idle time / F1
//   segura-shift | solta-shift     holds Shift down / lets it go
//   resposta 6 | resposta sim      the answer of the next message box
//   cancela-progresso [N]          the operator stops long work at the
//                                  Nth progress report from then (1)
//
// The record file holds one line per box ("caixa"), per progress report
// ("progresso": title, done, total, text) and per dialog ("dialogo"); after a dialog's line come, as it closed, its static texts
// ("texto", id, text) and its report lists: each column ("coluna", id,
// title, alignment, width) and each row ("linha", id, the cells).
class HostRoteirizado : public HostUI {
 public:
  HostRoteirizado();
  ~HostRoteirizado() override;

  void AdicionaDialogo(DialogoRoteiro dialogo) { m_dialogos.push_back(std::move(dialogo)); }
  void AdicionaResposta(int resposta) { m_respostas.push_back(resposta); }
  // Reads a script in text form; a bad line throws std::invalid_argument.
  void CarregaRoteiro(const std::string& texto);
  // Also appends every box and dialog, as it happens, to a text file (one
  // line each, fields separated by tabs), for programs that read it later.
  void GravaRegistroEm(const std::string& caminho) { m_arquivoRegistro = caminho; }
  // A step that cannot be done (Erros) cancels its dialog instead of the
  // script going on; the error also goes to the record file.
  void ParaNoErro(bool para) { m_paraNoErro = para; }

  int ExecutaModal(CDialogo& dialogo) override;
  int MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) override;
  void CursorEspera(bool ligado) override;
  // Every report is kept; the ones the script cancels answer false.
  bool Progresso(const AndamentoTrabalho& andamento) override;
  void FimProgresso() override;
  const std::vector<AndamentoTrabalho>& Progressos() const { return m_progressos; }
  int FimProgressos() const { return m_fimProgressos; }
  // The operator stops long work at the Nth report from now.
  void CancelaProgresso(int relato = 1) { m_cancelamentos.push_back(relato); }
  // Also draws each report as a bar on one line of a terminal (a
  // descriptor; -1: none), as the command line shows long work. The line
  // is cleared when the work ends.
  void DesenhaProgressoEm(int descritor) { m_terminal = descritor; }
  bool ShiftPressionado() const override { return m_shift; }
  void AbreAjuda(const std::string& modulo) override;
  // The modules whose help was asked for, in order.
  const std::vector<std::string>& Ajudas() const { return m_ajudas; }
  // The program's title, as a front end sets it; empty goes back to the
  // program's name.
  void DefineTituloPrograma(std::string titulo) { m_titulo = std::move(titulo); }
  std::string TituloPrograma() const override { return m_titulo.empty() ? HostUI::TituloPrograma() : m_titulo; }

  const std::vector<CaixaMostrada>& Caixas() const { return m_caixas; }
  const std::vector<DialogoExecutado>& Dialogos() const { return m_executados; }
  // Script steps that could not be done (unknown control, disabled control,
  // another dialog than expected, a box answer it does not have).
  const std::vector<std::string>& Erros() const { return m_erros; }
  int CursorEsperaAtivo() const { return m_cursorEspera; }
  int VezesCursorEspera() const { return m_vezesCursorEspera; }
  void Limpa();

 private:
  void Executa(CDialogo& dialogo, const AcaoRoteiro& acao);
  void RegistraErro(const std::string& erro);
  void Anota(const std::string& linha) const;
  void AnotaControles(const std::map<int, EstadoControle>& estados, const CDialogo& dialogo) const;

  std::deque<DialogoRoteiro> m_dialogos;
  std::deque<int> m_respostas;
  std::vector<CaixaMostrada> m_caixas;
  std::vector<DialogoExecutado> m_executados;
  std::vector<std::string> m_erros;
  std::vector<std::string> m_ajudas;
  std::vector<AndamentoTrabalho> m_progressos;
  std::deque<int> m_cancelamentos;  // reports still to come before each stop
  int m_fimProgressos = 0;
  int m_terminal = -1;
  std::vector<int> m_abertos;  // templates of the dialogs now running
  std::string m_arquivoRegistro;
  std::string m_titulo;
  bool m_paraNoErro = false;
  int m_cursorEspera = 0;
  bool m_shift = false;
  int m_vezesCursorEspera = 0;
};

// Makes a host current for the life of the object (tests, the program).
class HostTemporario {
 public:
  explicit HostTemporario(HostUI& host) : m_anterior(DefineHost(&host)) {}
  ~HostTemporario() { DefineHost(m_anterior); }
  HostTemporario(const HostTemporario&) = delete;
  HostTemporario& operator=(const HostTemporario&) = delete;

 private:
  HostUI* m_anterior;
};

}  // namespace qmx::ui
