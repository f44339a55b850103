#include "arquivos/QMXMovimentos.h"

namespace qmx {

bool CQMXMovimentos::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                std::int32_t contexto, std::uint16_t dataInicial,
                                std::uint16_t dataFinal, std::uint16_t ecf, std::uint16_t filial,
                                std::uint8_t automatico) {
  CQMXFiltroArquivo::Inicializa(chaveEmpresa, usuario, contexto);
  m_nDataInicial = dataInicial;
  m_nDataFinal = dataFinal;
  m_nEcf = ecf;
  m_nFilial = filial;
  m_bAutomatico = automatico != 0;
  return true;
}

}  // namespace qmx
