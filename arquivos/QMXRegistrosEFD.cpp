#include "arquivos/QMXRegistrosEFD.h"

namespace qmx {

void CQMXRegistrosEFD::Preset(const std::string& chaveEmpresa, std::uint16_t usuario,
                              std::int32_t contexto, std::uint16_t filial, std::uint16_t ecf,
                              std::uint16_t dataInicial, std::uint16_t dataFinal, char perfil) {
  Inicializa(chaveEmpresa, usuario, contexto);
  m_nFilial = filial;
  m_nEcf = ecf;
  m_nDataInicial = dataInicial;
  m_nDataFinal = dataFinal;
  m_cPerfil = perfil;
}

}  // namespace qmx
