#include "arquivos/VerificacaoPeriodo.h"

#include "plataforma/impressora/ImpressoraFiscal.h"

namespace qmx {
namespace {

// How long the notice stays up: the same for every period message.
constexpr unsigned short kTempoAviso = 2000;

}  // namespace

void CVerificacaoPeriodo::Configura(ui::CDialogo* dialogo, ui::CZTEditData* inicial, ui::CZTEditData* final,
                                    Regras regras) {
  m_dialogo = dialogo;
  m_inicial = inicial;
  m_final = final;
  m_regras = regras;
}

bool CVerificacaoPeriodo::Falha(ui::CZTEditData& edit, const char* mensagem, NumeroDia reinicio) {
  impressora::ExibeMensagem(mensagem, kTempoAviso);
  edit.SetData(reinicio);
  m_dialogo->GotoDlgCtrl(edit.Id());
  return false;
}

bool CVerificacaoPeriodo::AoPerderFoco(int idControle, NumeroDia hoje) {
  if (!m_dialogo || !m_inicial || !m_final || m_regras == Regras::Nenhuma) return true;
  const NumeroDia inicial = m_inicial->GetData();
  const NumeroDia final = m_final->GetData();
  if (m_regras == Regras::ArquivoMFD) {
    if (idControle == m_inicial->Id()) {
      if (inicial > hoje) return Falha(*m_inicial, "Data Inicial maior que Data Atual.", hoje);
      if (inicial > final) return Falha(*m_inicial, "Data Inicial maior que Data Final.", hoje);
    } else if (idControle == m_final->Id()) {
      if (final > hoje) return Falha(*m_final, "Data Final maior que Data Atual.", hoje);
      if (final < inicial) return Falha(*m_final, "Data Final menor que Data Inicial.", hoje);
    }
    return true;
  }
  const bool comInicio = m_regras == Regras::ComInicioSistema || m_regras == Regras::VendaPeriodo;
  if (idControle == m_inicial->Id()) {
    if (comInicio && inicial < m_inicioSistema)
      return Falha(*m_inicial,
                   m_regras == Regras::VendaPeriodo ? "Data Inicial inferior à data de inicio do sistema."
                                                    : "Data Inicial inferior a data de inicio do sistema.",
                   m_inicioSistema);
    if (inicial > hoje)
      return Falha(*m_inicial, "Data Inicial maior que data atual.", comInicio ? m_inicioSistema : hoje);
  } else if (idControle == m_final->Id()) {
    if (final > hoje) return Falha(*m_final, "Data Final maior que data atual.", hoje);
    if (final < inicial) return Falha(*m_final, "Data Final menor que data Inicial", hoje);
  }
  return true;
}

}  // namespace qmx
