#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plataforma/ui/ModeloDialogo.h"

namespace qmx::ui {

// Check states of buttons.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

// Alignment of a report list's column, with the window system's values.
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;
// Extended style of a report list: a click selects the whole row.
constexpr unsigned LVS_EX_FULLROWSELECT = 0x20;

// One control of a running dialog, made from its template line. It keeps
// what the code and the operator can see and change: text, check state,
// enabled and visible flags, and the rows of list and combo boxes with their
// selection and item data. A report list (a list view) also has columns:
// each row holds one text per column, the first being the row's text.
class CControle {
 public:
  explicit CControle(const ModeloControle& modelo);

  int Id() const { return m_id; }
  const std::string& Classe() const { return m_classe; }
  bool TemEstilo(const std::string& nome) const;
  bool EhBotao() const { return m_classe == "Button"; }
  bool EhRadio() const;
  bool EhCaixaMarcacao() const;
  bool EhLista() const { return m_classe == "ListBox" || m_classe == "ComboBox" || m_classe == "SysListView32"; }
  bool ComecaGrupo() const { return TemEstilo("WS_GROUP"); }

  void SetWindowText(const std::string& texto) { m_texto = texto; }
  const std::string& GetWindowText() const { return m_texto; }
  void EnableWindow(bool habilitado) { m_habilitado = habilitado; }
  bool IsWindowEnabled() const { return m_habilitado; }
  void ShowWindow(bool visivel) { m_visivel = visivel; }
  bool IsWindowVisible() const { return m_visivel; }
  void SetCheck(int estado) { m_marcado = estado; }
  int GetCheck() const { return m_marcado; }
  // Adds a style the template may lack (the code sets up a list's view).
  void AcrescentaEstilo(const std::string& nome);

  // The most characters the operator may type into an edit (0: no limit).
  // Text set by the code is not cut, as in the window system.
  void SetLimitText(int maximo) { m_limiteTexto = maximo < 0 ? 0 : maximo; }
  int GetLimitText() const { return m_limiteTexto; }

  // Rows of a list or combo box. Indexes out of range are refused (-1 or
  // false), as the window framework does with LB_ERR/CB_ERR.
  int AddString(const std::string& texto);
  void ResetContent();
  int GetCount() const { return static_cast<int>(m_itens.size()); }
  std::string GetText(int indice) const;
  int SetCurSel(int indice);
  int GetCurSel() const { return m_selecao; }
  bool SetItemData(int indice, std::intptr_t dado);
  std::intptr_t GetItemData(int indice) const;
  int FindStringExact(const std::string& texto) const;

  // Columns and cells of a report list. A row's cells beyond the ones set
  // read as empty texts.
  int InsertColumn(int coluna, const std::string& titulo, int formato = LVCFMT_LEFT, int largura = -1);
  int GetColumnCount() const { return static_cast<int>(m_colunas.size()); }
  std::string GetColumnText(int coluna) const;
  int GetColumnFormat(int coluna) const;
  int GetColumnWidth(int coluna) const;
  void SetExtendedStyle(unsigned estilo) { m_estiloEstendido = estilo; }
  unsigned GetExtendedStyle() const { return m_estiloEstendido; }
  // Removes every row; the columns stay.
  void DeleteAllItems() { ResetContent(); }
  // Inserts a row before `indice` (at the end when out of range); its index.
  int InsertItem(int indice, const std::string& texto);
  bool SetItemText(int indice, int coluna, const std::string& texto);
  std::string GetItemText(int indice, int coluna) const;
  bool DeleteItem(int indice);

  // Selection of several rows, where the control allows it (a list view
  // without LVS_SINGLESEL, a list box with LBS_MULTIPLESEL or
  // LBS_EXTENDEDSEL); elsewhere selecting a row clears the others.
  bool SelecaoMultipla() const;
  bool SetSel(int indice, bool selecionada);
  bool GetSel(int indice) const;
  int GetSelCount() const;
  std::vector<int> GetSelItems() const;

 private:
  int m_id;
  std::string m_classe;
  std::vector<std::string> m_estilos;
  std::string m_texto;
  bool m_habilitado;
  bool m_visivel;
  int m_marcado = BST_UNCHECKED;
  std::vector<std::string> m_itens;
  std::vector<std::intptr_t> m_dados;
  std::vector<std::vector<std::string>> m_celulas;  // per row, the columns after the first
  std::vector<bool> m_selecionadas;
  struct Coluna {
    std::string titulo;
    int formato = LVCFMT_LEFT;
    int largura = -1;
  };
  std::vector<Coluna> m_colunas;
  unsigned m_estiloEstendido = 0;
  int m_limiteTexto = 0;
  int m_selecao = -1;
};

}  // namespace qmx::ui
