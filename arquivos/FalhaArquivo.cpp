#include "arquivos/FalhaArquivo.h"

#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/ui/HostUI.h"

namespace qmx {

void AvisaFalhaArquivo(const std::string& titulo, const std::string& caminho, const std::string& causa,
                       const std::string& acao) {
  ui::CaixaMensagem("Não foi possível " + acao + " o arquivo\r\n" + texto::CaminhoNativo(caminho) +
                        (causa.empty() ? std::string() : "\r\n" + causa),
                    titulo, ui::MB_OK | ui::MB_ICONERROR);
}

void AvisaFalhaArquivo(const std::string& titulo, const CExcecaoArquivo& falha, const std::string& acao) {
  AvisaFalhaArquivo(titulo, falha.GetArquivo(), CausaDaFalha(falha), acao);
}

}  // namespace qmx
