#include "cli/Autorizacao.h"

#include <ostream>

#include "dialogos/QMXAutorizacao.h"

namespace qmx::cli {

// The dialog is an exported class: like the point-of-sale program, this
// program builds it itself (from the library it is linked with), gives it
// the company and runs it.
bool ExecutaAutorizacao(Ambiente& a) {
  CQMXAutorizacao autorizacao;
  autorizacao.SetEmpresa(a.empresa.c_str());
  autorizacao.DoModal();
  a.saida << "autorizado: " << (autorizacao.m_bAutorizado ? "sim" : "não") << "\n";
  if (autorizacao.m_bAutorizado) a.saida << "usuário: " << autorizacao.m_nUsuario << "\n";
  return autorizacao.m_bAutorizado;
}

}  // namespace qmx::cli
