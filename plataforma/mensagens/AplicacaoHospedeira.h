#pragma once

#include <cstdint>
#include <string>

namespace qmx::mensagens {

// The error record that the library hands to the hosting program: where a
// data-server failure was found and what the server answered.
struct REG_ERRO_APLICACAO {
  std::string strArquivo;     // source-file name, without extension
  std::string strCompilacao;  // the module's build stamp
  std::int32_t nResultado = 0;
  std::uint32_t nMensagem = 0;
  std::int32_t nLinha = 0;
  std::uint16_t nDetalhe = 0;
};

// The hosting program's application object, as far as the library uses it:
// its error operation shows the record to the operator. Until a program
// sets its own, the maker's error reporter shows it (with no company key).
class IAplicacaoHospedeira {
 public:
  virtual ~IAplicacaoHospedeira() = default;
  virtual void MostraErro(const REG_ERRO_APLICACAO& erro) = 0;
};

IAplicacaoHospedeira& AplicacaoAtual();
// Sets the application object and returns the one set before; nullptr goes
// back to the default one.
IAplicacaoHospedeira* DefineAplicacao(IAplicacaoHospedeira* aplicacao);

}  // namespace qmx::mensagens
