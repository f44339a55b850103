#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

bool CQMXFiltroArquivo::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                   std::int32_t contexto) {
  m_strEmpresa = chaveEmpresa;
  m_nUsuario = usuario;
  m_nContexto = contexto;
  return true;
}

}  // namespace qmx
