#include "frame/ErroHost.h"

#include "plataforma/mensagens/AplicacaoHospedeira.h"

namespace qmx {

void InformaErroHost(std::int32_t resultado, std::uint32_t mensagem, std::uint16_t detalhe, const char* arquivoFonte,
                     int linha, const char* carimbo) {
  mensagens::REG_ERRO_APLICACAO erro;
  erro.strArquivo = arquivoFonte ? arquivoFonte : "";
  erro.strCompilacao = carimbo ? carimbo : "";
  erro.nResultado = resultado;
  erro.nMensagem = mensagem;
  erro.nLinha = linha;
  erro.nDetalhe = detalhe;
  mensagens::AplicacaoAtual().MostraErro(erro);
}

}  // namespace qmx
