#include "arquivos/QMXLeituraMemoriaFiscal.h"

namespace qmx {

bool CQMXLeituraMemoriaFiscal::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                          std::int32_t contexto, const std::string& tipo) {
  CQMXFiltroArquivo::Inicializa(chaveEmpresa, usuario, contexto);
  m_strTipo = tipo;
  return true;
}

}  // namespace qmx
