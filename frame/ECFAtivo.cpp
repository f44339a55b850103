#include "frame/ECFAtivo.h"

#include "plataforma/ui/HostUI.h"

namespace qmx {

// The connected printer is found by its serial number, which only the
// printer layer can tell. Without a printer layer the model cannot be
// determined, and the operator gets the same notice as when the layer fails.
int PosicaoECFAtivo(const TriploConexao& /*triplo*/) {
  ui::CaixaMensagem(
      "Não foi possível determinar que modelo de Emissor \nde Cupom Fiscal que será utilizado nesse "
      "computador.\nExecute o QMVConfImp, selecionando o modelo do \nEmissor e Porta Serial a qual o "
      "mesmo está conectado.",
      {}, ui::MB_ICONEXCLAMATION | ui::MB_SYSTEMMODAL);
  return -1;
}

}  // namespace qmx
