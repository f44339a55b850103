// The configuration-parameters report, printed with the library's resources
// selected and the connection triple of the library context.
#include "dialogos/QMXParametrizacao.h"
#include "frame/ProtecaoExportacao.h"
#include "frame/QMXUTIL.h"
#include "plataforma/ui/ModuloRecursos.h"

bool ECImprimeParametrizacao(std::uint16_t filial, std::uint16_t ecf) {
  return qmx::Protegido("ECImprimeParametrizacao", false, [&] {
    qmx::ui::TrocaRecursos troca(qmx::ui::ModuloBiblioteca());
    return qmx::CQMXParametrizacao(qmx::CopiaTriplo()).Imprime(filial, ecf);
  });
}
