#pragma once

#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/ui/EditValor.h"

namespace qmx {

// The controls of an MFD range: a period or a range of COO numbers.
struct ControlesIntervaloMFD {
  int porPeriodo;
  int porCOO;
  int dataInicial;
  int dataFinal;
  int cooInicial;
  int cooFinal;
};

// What the two MFD filter dialogs share: the choice between a period and a
// COO range (each choice enables only its own controls), the COO edits that
// start at 1, and the box of a printer whose memory cannot be read.
class CQMXFiltroMFD : public CQMXFiltroArquivo {
 protected:
  CQMXFiltroMFD(int idModelo, std::string fonte, const ControlesIntervaloMFD& controles)
      : CQMXFiltroArquivo(idModelo, std::move(fonte)), m_controles(controles) {}

  // Start-up of the range: COO edits at 1, the period chosen, the date
  // edits prepared with the given checks.
  void PreparaIntervalo(CVerificacaoPeriodo::Regras regras, int tipoData = 0);
  // Enables the controls of the chosen button only.
  void Habilita(int idEscolhido);
  // "Não foi possível acessar a Memória Fiscal da Impressora", then Cancel.
  void FalhaMemoriaFiscal();

  bool OnCommand(int id, int notificacao) override;

  ControlesIntervaloMFD m_controles;
  ui::CZTEditValor m_edCOOInicial;
  ui::CZTEditValor m_edCOOFinal;
};

}  // namespace qmx
