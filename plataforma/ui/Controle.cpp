#include "plataforma/ui/Controle.h"

#include <cstddef>

namespace qmx::ui {
namespace {

bool ClasseDeLista(const std::string& classe) {
  return classe == "ListBox" || classe == "ComboBox" || classe == "SysListView32";
}

}  // namespace

CControle::CControle(const ModeloControle& modelo)
    : m_id(modelo.id),
      m_classe(modelo.classe),
      m_estilos(modelo.estilos),
      m_texto(ClasseDeLista(modelo.classe) ? std::string() : modelo.texto),
      m_habilitado(!modelo.TemEstilo("WS_DISABLED")),
      m_visivel(true) {}

bool CControle::TemEstilo(const std::string& nome) const {
  for (const auto& estilo : m_estilos)
    if (estilo == nome) return true;
  return false;
}

bool CControle::EhRadio() const {
  return EhBotao() && (TemEstilo("BS_AUTORADIOBUTTON") || TemEstilo("BS_RADIOBUTTON"));
}

bool CControle::EhCaixaMarcacao() const {
  return EhBotao() && (TemEstilo("BS_AUTOCHECKBOX") || TemEstilo("BS_CHECKBOX") ||
                       TemEstilo("BS_AUTO3STATE") || TemEstilo("BS_3STATE"));
}

int CControle::AddString(const std::string& texto) { return InsertItem(GetCount(), texto); }

void CControle::ResetContent() {
  m_itens.clear();
  m_dados.clear();
  m_celulas.clear();
  m_selecionadas.clear();
  m_selecao = -1;
}

std::string CControle::GetText(int indice) const {
  if (indice < 0 || indice >= GetCount()) return {};
  return m_itens[static_cast<size_t>(indice)];
}

int CControle::SetCurSel(int indice) {
  m_selecionadas.assign(m_itens.size(), false);
  if (indice < -1 || indice >= GetCount()) {
    m_selecao = -1;
    return -1;
  }
  m_selecao = indice;
  if (indice >= 0) m_selecionadas[static_cast<size_t>(indice)] = true;
  if (m_classe == "ComboBox") m_texto = GetText(indice);
  return indice;
}

bool CControle::SetItemData(int indice, std::intptr_t dado) {
  if (indice < 0 || indice >= GetCount()) return false;
  m_dados[static_cast<size_t>(indice)] = dado;
  return true;
}

std::intptr_t CControle::GetItemData(int indice) const {
  if (indice < 0 || indice >= GetCount()) return -1;
  return m_dados[static_cast<size_t>(indice)];
}

int CControle::FindStringExact(const std::string& texto) const {
  for (int i = 0; i < GetCount(); ++i)
    if (m_itens[static_cast<size_t>(i)] == texto) return i;
  return -1;
}

void CControle::AcrescentaEstilo(const std::string& nome) {
  if (!TemEstilo(nome)) m_estilos.push_back(nome);
}

int CControle::InsertColumn(int coluna, const std::string& titulo, int formato, int largura) {
  if (coluna < 0 || coluna > GetColumnCount()) coluna = GetColumnCount();
  m_colunas.insert(m_colunas.begin() + coluna, Coluna{titulo, formato, largura});
  return coluna;
}

std::string CControle::GetColumnText(int coluna) const {
  if (coluna < 0 || coluna >= GetColumnCount()) return {};
  return m_colunas[static_cast<size_t>(coluna)].titulo;
}

int CControle::GetColumnFormat(int coluna) const {
  if (coluna < 0 || coluna >= GetColumnCount()) return -1;
  return m_colunas[static_cast<size_t>(coluna)].formato;
}

int CControle::GetColumnWidth(int coluna) const {
  if (coluna < 0 || coluna >= GetColumnCount()) return -1;
  return m_colunas[static_cast<size_t>(coluna)].largura;
}

int CControle::InsertItem(int indice, const std::string& texto) {
  if (indice < 0 || indice > GetCount()) indice = GetCount();
  const auto posicao = static_cast<std::ptrdiff_t>(indice);
  m_itens.insert(m_itens.begin() + posicao, texto);
  m_dados.insert(m_dados.begin() + posicao, 0);
  m_celulas.insert(m_celulas.begin() + posicao, std::vector<std::string>{});
  m_selecionadas.insert(m_selecionadas.begin() + posicao, false);
  if (m_selecao >= indice) ++m_selecao;
  return indice;
}

bool CControle::SetItemText(int indice, int coluna, const std::string& texto) {
  if (indice < 0 || indice >= GetCount() || coluna < 0) return false;
  if (coluna == 0) {
    m_itens[static_cast<size_t>(indice)] = texto;
    return true;
  }
  auto& celulas = m_celulas[static_cast<size_t>(indice)];
  if (celulas.size() < static_cast<size_t>(coluna)) celulas.resize(static_cast<size_t>(coluna));
  celulas[static_cast<size_t>(coluna - 1)] = texto;
  return true;
}

std::string CControle::GetItemText(int indice, int coluna) const {
  if (indice < 0 || indice >= GetCount() || coluna < 0) return {};
  if (coluna == 0) return m_itens[static_cast<size_t>(indice)];
  const auto& celulas = m_celulas[static_cast<size_t>(indice)];
  return static_cast<size_t>(coluna) <= celulas.size() ? celulas[static_cast<size_t>(coluna - 1)] : std::string();
}

bool CControle::DeleteItem(int indice) {
  if (indice < 0 || indice >= GetCount()) return false;
  const auto posicao = static_cast<std::ptrdiff_t>(indice);
  m_itens.erase(m_itens.begin() + posicao);
  m_dados.erase(m_dados.begin() + posicao);
  m_celulas.erase(m_celulas.begin() + posicao);
  m_selecionadas.erase(m_selecionadas.begin() + posicao);
  if (m_selecao == indice) m_selecao = -1;
  else if (m_selecao > indice) --m_selecao;
  return true;
}

bool CControle::SelecaoMultipla() const {
  if (m_classe == "SysListView32") return !TemEstilo("LVS_SINGLESEL");
  if (m_classe == "ListBox") return TemEstilo("LBS_MULTIPLESEL") || TemEstilo("LBS_EXTENDEDSEL");
  return false;
}

bool CControle::SetSel(int indice, bool selecionada) {
  if (indice < 0 || indice >= GetCount()) return false;
  if (!SelecaoMultipla()) {
    if (selecionada) SetCurSel(indice);
    else if (m_selecao == indice) SetCurSel(-1);
    return true;
  }
  m_selecionadas[static_cast<size_t>(indice)] = selecionada;
  if (selecionada) m_selecao = indice;
  else if (m_selecao == indice) m_selecao = -1;
  return true;
}

bool CControle::GetSel(int indice) const {
  return indice >= 0 && indice < GetCount() && m_selecionadas[static_cast<size_t>(indice)];
}

int CControle::GetSelCount() const {
  int n = 0;
  for (bool selecionada : m_selecionadas) n += selecionada;
  return n;
}

std::vector<int> CControle::GetSelItems() const {
  std::vector<int> linhas;
  for (int i = 0; i < GetCount(); ++i)
    if (m_selecionadas[static_cast<size_t>(i)]) linhas.push_back(i);
  return linhas;
}

}  // namespace qmx::ui
