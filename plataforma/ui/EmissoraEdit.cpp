#include "plataforma/ui/EmissoraEdit.h"

#include <cstring>

#include "plataforma/ui/FilialEdit.h"

namespace qmx::ui {

void CEmissoraEdit::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto) {
  m_chaveEmpresa = chaveEmpresa;
  m_usuario = usuario;
  m_contexto = contexto;
}

void CEmissoraEdit::SubclassDlgItem(int idControle, CDialogo* dialogo) {
  m_dialogo = dialogo;
  m_id = idControle;
  if (m_dialogo) m_dialogo->GetDlgItem(m_id);
}

com::HRESULT CEmissoraEdit::CriaLink() { return m_conexao.Inicializa(m_chaveEmpresa, m_usuario, m_contexto); }

void CEmissoraEdit::Rotulo(const std::string& texto) {
  if (m_dialogo && m_rotulo) m_dialogo->SetDlgItemText(m_rotulo, texto);
}

void CEmissoraEdit::SetFilial(std::uint16_t filial) {
  m_filial = filial;
  if (m_dialogo && !m_dialogo->GetDlgItemText(m_id).empty()) Atualiza();
}

void CEmissoraEdit::SetEmissora(std::uint16_t emissora) {
  if (!m_dialogo) return;
  m_dialogo->SetDlgItemText(m_id, std::to_string(emissora));
  Atualiza();
}

bool CEmissoraEdit::Atualiza() {
  std::memset(&m_registro, 0, sizeof m_registro);
  std::uint16_t numero = 0;
  if (!m_dialogo || !LeNumeroEdit(m_dialogo->GetDlgItemText(m_id), numero) || numero == 0) {
    Rotulo("");
    return false;
  }
  auto* emissoras = m_conexao.GetInterface();
  if (!emissoras) return false;
  REG_EMISSORPS lido;
  if (com::FAILED(emissoras->Le(numero, &lido))) {
    Rotulo("ECF não cadastrado");
    return false;
  }
  if (m_filial != 0 && lido.Filial != m_filial) {
    Rotulo("ECF de outra filial");
    return false;
  }
  m_registro = lido;
  Rotulo(m_registro.Nome);
  return true;
}

std::uint16_t CEmissoraEdit::GetEmissora() {
  std::uint16_t numero = 0;
  if (!m_dialogo || !LeNumeroEdit(m_dialogo->GetDlgItemText(m_id), numero)) return 0;
  if (!m_conexao.Inicializada()) return numero;
  return Atualiza() ? numero : 0;
}

}  // namespace qmx::ui
