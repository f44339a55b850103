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

  const TriploConexao& Triplo() const { return m_triplo; }

 protected:
  void OnOK() override { EndDialog(ui::IDCANCEL); }

  TriploConexao m_triplo;
};

}  // namespace qmx
