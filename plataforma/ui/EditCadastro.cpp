#include "plataforma/ui/EditCadastro.h"

namespace qmx::ui {

bool LeNumeroEdit(const std::string& texto, std::uint16_t& numero) {
  std::size_t i = texto.find_first_not_of(' ');
  const std::size_t fim = texto.find_last_not_of(' ');
  if (i == std::string::npos) return false;
  unsigned long valor = 0;
  for (; i <= fim; ++i) {
    if (texto[i] < '0' || texto[i] > '9') return false;
    valor = valor * 10 + static_cast<unsigned long>(texto[i] - '0');
    if (valor > 0xFFFF) return false;
  }
  numero = static_cast<std::uint16_t>(valor);
  return true;
}

void CEditCadastro::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto) {
  m_chaveEmpresa = chaveEmpresa;
  m_usuario = usuario;
  m_contexto = contexto;
}

void CEditCadastro::SubclassDlgItem(int idControle, CDialogo* dialogo) {
  m_dialogo = dialogo;
  m_id = idControle;
  if (m_dialogo) m_dialogo->GetDlgItem(m_id);
}

bool CEditCadastro::Numero(std::uint16_t& numero) const {
  return m_dialogo && LeNumeroEdit(m_dialogo->GetDlgItemText(m_id), numero);
}

void CEditCadastro::MostraNumero(std::uint16_t numero) {
  if (m_dialogo) m_dialogo->SetDlgItemText(m_id, std::to_string(numero));
}

void CEditCadastro::Rotulo(const std::string& texto) {
  if (m_dialogo && m_rotulo) m_dialogo->SetDlgItemText(m_rotulo, texto);
}

}  // namespace qmx::ui
