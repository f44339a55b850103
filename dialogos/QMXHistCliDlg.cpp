#include "dialogos/QMXHistCliDlg.h"

namespace qmx {

bool CQMXHistCliDlg::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                std::int32_t contexto, std::uint32_t numeroCupom,
                                std::uint16_t data, std::uint16_t numeroEcf) {
  m_triplo = {chaveEmpresa, usuario, contexto};
  m_nNumeroCupom = numeroCupom;
  m_nData = data;
  m_nNumeroEcf = numeroEcf;
  return true;
}

}  // namespace qmx
