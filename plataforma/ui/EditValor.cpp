#include "plataforma/ui/EditValor.h"

namespace qmx::ui {

void CZTEditValor::SubclassDlgItem(int idControle, CDialogo* dialogo, int digitos) {
  dialogo->GetDlgItem(idControle);  // refuses an id the template lacks
  m_dialogo = dialogo;
  m_id = idControle;
  // An unsigned 32-bit value holds any nine-digit number.
  m_digitos = digitos < 1 ? 1 : (digitos > 9 ? 9 : digitos);
}

std::string CZTEditValor::Filtra(const std::string& texto, int digitos) {
  std::string saida;
  for (const char c : texto)
    if (c >= '0' && c <= '9' && static_cast<int>(saida.size()) < digitos) saida += c;
  return saida;
}

void CZTEditValor::SetValor(std::uint32_t valor) {
  if (m_dialogo) m_dialogo->SetDlgItemText(m_id, Filtra(std::to_string(valor), m_digitos));
}

std::string CZTEditValor::GetTexto() const { return m_dialogo ? m_dialogo->GetDlgItemText(m_id) : std::string(); }

std::uint32_t CZTEditValor::GetValor() const {
  std::uint32_t valor = 0;
  for (const char c : Filtra(GetTexto(), m_digitos)) valor = valor * 10 + static_cast<std::uint32_t>(c - '0');
  return valor;
}

void CZTEditValor::AoMudar() {
  if (!m_dialogo) return;
  const std::string texto = GetTexto();
  const std::string filtrado = Filtra(texto, m_digitos);
  if (filtrado != texto) m_dialogo->SetDlgItemText(m_id, filtrado);
}

}  // namespace qmx::ui
