#include "plataforma/dados/ServidoresIntegracaoCOM.h"

#include "plataforma/dados/ComponenteServidor.h"

namespace qmx::dados {

void RegistraServidoresIntegracao() {
  RegistraComponenteServidor<IZTES_ServidorMovimento>(kClasseServidorMovimentoES);
  RegistraComponenteServidor<IZTFN_ServidorIntegracao>(kClasseServidorIntegracaoFN);
}

}  // namespace qmx::dados
