#pragma once

#include <cstdint>
#include <string>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/ui/Dialogo.h"

namespace qmx {

// Base of the filter dialogs of the fiscal files and printed reports. It
// holds the connection triple that the export copies in before the dialog
// opens; every connection of the dialog is made with it.
//
// A dialog whose file is not produced yet closes with Cancel when the
// operator presses OK, so that its export answers as for a cancelled
// dialog and nobody is told that a file was made.
class CQMXFiltroArquivo : public ui::CDialogo {
 public:
  explicit CQMXFiltroArquivo(int idModelo) : ui::CDialogo(idModelo) {}

  bool Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);

  const std::string& ChaveEmpresa() const { return m_strEmpresa; }
  std::uint16_t Usuario() const { return m_nUsuario; }
  std::int32_t ContextoConexao() const { return m_nContexto; }

 protected:
  void OnOK() override { EndDialog(ui::IDCANCEL); }

  std::string m_strEmpresa;
  std::uint16_t m_nUsuario = 0;
  std::int32_t m_nContexto = 0;
};

}  // namespace qmx
