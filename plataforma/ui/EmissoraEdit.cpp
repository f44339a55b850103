#include "plataforma/ui/EmissoraEdit.h"

#include <cstring>


namespace qmx::ui {

com::HRESULT CEmissoraEdit::CriaLink() { return m_conexao.Inicializa(m_chaveEmpresa, m_usuario, m_contexto); }

void CEmissoraEdit::SetFilial(std::uint16_t filial) {
  m_filial = filial;
  if (!Vazio()) Atualiza();
}

void CEmissoraEdit::SetEmissora(std::uint16_t emissora) {
  if (!m_dialogo) return;
  MostraNumero(emissora);
  Atualiza();
}

bool CEmissoraEdit::Atualiza() {
  std::memset(&m_registro, 0, sizeof m_registro);
  std::uint16_t numero = 0;
  if (!Numero(numero) || numero == 0) {
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
  if (!Numero(numero)) return 0;
  if (!m_conexao.Inicializada()) return numero;
  return Atualiza() ? numero : 0;
}

}  // namespace qmx::ui
