#include "plataforma/ui/Controle.h"

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

int CControle::AddString(const std::string& texto) {
  m_itens.push_back(texto);
  m_dados.push_back(0);
  return GetCount() - 1;
}

void CControle::ResetContent() {
  m_itens.clear();
  m_dados.clear();
  m_selecao = -1;
}

std::string CControle::GetText(int indice) const {
  if (indice < 0 || indice >= GetCount()) return {};
  return m_itens[static_cast<size_t>(indice)];
}

int CControle::SetCurSel(int indice) {
  if (indice < -1 || indice >= GetCount()) {
    m_selecao = -1;
    return -1;
  }
  m_selecao = indice;
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

}  // namespace qmx::ui
