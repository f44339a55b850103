#include "frame/ECFAtivo.h"

#include "frame/QMXGenerica.h"

namespace qmx {

int PosicaoECFAtivo(const TriploConexao& triplo) {
  return CQMXGenerica(triplo.chaveEmpresa.c_str(), triplo.usuario, triplo.contexto).PegaECFAtivo();
}

}  // namespace qmx
