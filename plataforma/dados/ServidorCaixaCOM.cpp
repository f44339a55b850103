#include "plataforma/dados/ServidorCaixaCOM.h"

#include "plataforma/dados/ComponenteServidor.h"

namespace qmx::dados {

void RegistraServidorCaixa() { RegistraComponenteServidor<IZTEC_ServidorCaixa>(kClasseServidorCaixa); }

}  // namespace qmx::dados
