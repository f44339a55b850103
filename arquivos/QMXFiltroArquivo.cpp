#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

bool CQMXFiltroArquivo::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                   std::int32_t contexto) {
  m_triplo = {chaveEmpresa, usuario, contexto};
  return true;
}

}  // namespace qmx
