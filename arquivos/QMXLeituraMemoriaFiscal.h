#pragma once

#include <string>

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the fiscal-memory reading; the kind ("c" complete, "s"
// simplified) comes from the export.
class CQMXLeituraMemoriaFiscal : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14024;
  CQMXLeituraMemoriaFiscal() : CQMXFiltroArquivo(IDD) {}

  bool Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                  const std::string& tipo);
  const std::string& Tipo() const { return m_strTipo; }

 private:
  std::string m_strTipo;
};

}  // namespace qmx
