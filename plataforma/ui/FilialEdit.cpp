#include "plataforma/ui/FilialEdit.h"

#include <cstring>

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

void CFilialEdit::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto) {
  m_chaveEmpresa = chaveEmpresa;
  m_usuario = usuario;
  m_contexto = contexto;
}

void CFilialEdit::SubclassDlgItem(int idControle, CDialogo* dialogo) {
  m_dialogo = dialogo;
  m_id = idControle;
  if (m_dialogo) m_dialogo->GetDlgItem(m_id);  // an id missing from the template fails here, at once
}

com::HRESULT CFilialEdit::CriaLink() { return m_conexao.Inicializa(m_chaveEmpresa, m_usuario, m_contexto, false); }

bool CFilialEdit::Numero(std::uint16_t& numero) const {
  return m_dialogo && LeNumeroEdit(m_dialogo->GetDlgItemText(m_id), numero);
}

void CFilialEdit::Rotulo(const std::string& texto) {
  if (m_dialogo && m_rotulo) m_dialogo->SetDlgItemText(m_rotulo, texto);
}

void CFilialEdit::SetFilial(std::uint16_t filial) {
  if (!m_dialogo) return;
  m_dialogo->SetDlgItemText(m_id, std::to_string(filial));
  Atualiza();
}

bool CFilialEdit::Atualiza() {
  std::memset(&m_registro, 0, sizeof m_registro);
  std::uint16_t numero = 0;
  if (!Numero(numero)) {
    Rotulo("");
    return false;
  }
  if (numero == 0) {
    Rotulo(m_zeroComoTodas ? "Todas as Filiais" : "");
    return m_zeroComoTodas;
  }
  auto* filiais = m_conexao.GetInterface();
  if (!filiais) return false;
  if (com::FAILED(filiais->Le(numero, &m_registro))) {
    std::memset(&m_registro, 0, sizeof m_registro);
    Rotulo("Filial não cadastrada");
    return false;
  }
  Rotulo(m_registro.NomeFantasia);
  return true;
}

std::uint16_t CFilialEdit::GetFilial() {
  std::uint16_t numero = 0;
  if (!Numero(numero)) return 0;
  if (!m_conexao.Inicializada()) return numero;
  return Atualiza() ? numero : 0;
}

}  // namespace qmx::ui
