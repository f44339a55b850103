#include "plataforma/mensagens/AplicacaoHospedeira.h"

#include "plataforma/mensagens/ZTMens.h"

namespace qmx::mensagens {
namespace {

class AplicacaoPadrao : public IAplicacaoHospedeira {
 public:
  void MostraErro(const REG_ERRO_APLICACAO& erro) override {
    ZTTrataErro2(erro.nResultado, erro.nMensagem, erro.nDetalhe, std::string(), erro.strArquivo, erro.nLinha,
                 erro.strCompilacao);
  }
};

IAplicacaoHospedeira* g_aplicacao = nullptr;

}  // namespace

IAplicacaoHospedeira& AplicacaoAtual() {
  static AplicacaoPadrao padrao;
  return g_aplicacao ? *g_aplicacao : padrao;
}

IAplicacaoHospedeira* DefineAplicacao(IAplicacaoHospedeira* aplicacao) {
  IAplicacaoHospedeira* anterior = g_aplicacao;
  g_aplicacao = aplicacao;
  return anterior;
}

}  // namespace qmx::mensagens
