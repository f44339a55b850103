#include "plataforma/ui/EditCadastro.h"

namespace qmx::ui {

namespace {

bool LeInteiroEdit(const std::string& texto, std::uint64_t maximo, std::uint64_t& numero) {
  std::size_t i = texto.find_first_not_of(' ');
  const std::size_t fim = texto.find_last_not_of(' ');
  if (i == std::string::npos) return false;
  std::uint64_t valor = 0;
  for (; i <= fim; ++i) {
    if (texto[i] < '0' || texto[i] > '9') return false;
    valor = valor * 10 + static_cast<std::uint64_t>(texto[i] - '0');
    if (valor > maximo) return false;
  }
  numero = valor;
  return true;
}

}  // namespace

bool LeNumeroEdit(const std::string& texto, std::uint16_t& numero) {
  std::uint64_t valor = 0;
  if (!LeInteiroEdit(texto, 0xFFFF, valor)) return false;
  numero = static_cast<std::uint16_t>(valor);
  return true;
}

bool LeCodigoEdit(const std::string& texto, std::uint32_t& codigo) {
  std::uint64_t valor = 0;
  if (!LeInteiroEdit(texto, 0xFFFFFFFF, valor)) return false;
  codigo = static_cast<std::uint32_t>(valor);
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

bool CEditCadastro::Codigo(std::uint32_t& codigo) const {
  return m_dialogo && LeCodigoEdit(m_dialogo->GetDlgItemText(m_id), codigo);
}

void CEditCadastro::MostraCodigo(std::uint32_t codigo) {
  if (m_dialogo) m_dialogo->SetDlgItemText(m_id, std::to_string(codigo));
}

void CEditCadastro::Rotulo(const std::string& texto) {
  if (m_dialogo && m_rotulo) m_dialogo->SetDlgItemText(m_rotulo, texto);
}

}  // namespace qmx::ui
