#include "plataforma/ui/FilialEdit.h"

#include <cstring>

namespace qmx::ui {

com::HRESULT CFilialEdit::CriaLink() { return m_conexao.Inicializa(m_chaveEmpresa, m_usuario, m_contexto, false); }

void CFilialEdit::SetFilial(std::uint16_t filial) {
  if (!m_dialogo) return;
  MostraNumero(filial);
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
