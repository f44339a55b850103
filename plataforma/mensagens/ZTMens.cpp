#include "plataforma/mensagens/ZTMens.h"

#include <cstdio>
#include <vector>

#include "frame/TabelaSistemas.h"
#include "plataforma/dados/DetalheFalhaDados.h"
#include "plataforma/eventos/LogEventos.h"
#include "plataforma/mensagens/CatalogoMensagens.h"
#include "plataforma/mensagens/MensagemSistema.h"
#include "plataforma/ui/HostUI.h"

namespace qmx::mensagens {
namespace {

void Registra(std::uint16_t tipo, std::uint32_t id, const std::string& titulo, const std::string& texto) {
  qmx::eventos::CLogEventos log(kFonteEventos);
  log.Reporta(tipo, 0, id, {titulo, texto});
}

std::string TituloDoModulo(const std::string& modulo) {
  const SistemaZT* sistema = CTabelaSistemas::PorModulo(modulo);
  return sistema ? sistema->titulo : CTabelaSistemas::Titulo(CTabelaSistemas::kSistemaECF);
}

}  // namespace

void AvisaCatalogoInacessivel(const std::string& caminho) {
  // Built whole: a folder path has no fixed limit here, and the box must
  // show all of it.
  const std::string texto = "Não foi possível abrir o arquivo texto de Mensagens " + caminho +
                            ". Caso o caminho esteja correto, atualize o arquivo.";
  ui::CaixaMensagem(texto, "Erro", ui::MB_ICONEXCLAMATION);
}

bool ZTTrataErro2(std::int32_t resultado, std::uint32_t mensagem, std::uint32_t detalhe,
                  const std::string& chaveEmpresa, const std::string& arquivoFonte, int linha,
                  const std::string& carimbo) {
  // The catalogue text is a help, not a condition: a missing catalogue must
  // not turn one error report into two boxes.
  const LeituraCatalogo leitura = CCatalogoMensagens::Le("EC", mensagem);
  const std::string sistema = TextoErroSistema(static_cast<std::uint32_t>(resultado));
  char quadro[2600];
  std::snprintf(quadro, sizeof quadro,
                "Erro na comunicação com o servidor de dados.\n%s%sResultado: 0x%08X%s%s%s\n"
                "Mensagem: %u  Detalhe: %u\nEmpresa: %s\nOrigem: %s, linha %d (compilado em %s)",
                leitura.texto.c_str(), leitura.texto.empty() ? "" : "\n", static_cast<unsigned>(resultado),
                sistema.empty() ? "" : " (", sistema.c_str(), sistema.empty() ? "" : ")", mensagem, detalhe,
                chaveEmpresa.c_str(), arquivoFonte.c_str(), linha, carimbo.c_str());
  // The code alone does not say what failed: the cause the data server left
  // for this failure (the database file and the engine's words) goes too.
  std::string texto = quadro;
  if (const auto causa = dados::CausaDaFalha(resultado)) texto += "\nCausa: " + *causa;
  dados::LimpaFalhaDados();  // told once
  const std::string titulo = CTabelaSistemas::Titulo(CTabelaSistemas::kSistemaECF);
  Registra(qmx::eventos::EVENTLOG_ERROR_TYPE, static_cast<std::uint32_t>(resultado), titulo, texto);
  ui::CaixaMensagem(texto, titulo, ui::MB_ICONERROR);
  return true;
}

void ZTMensagem(std::uint32_t mensagem, const std::string& modulo) {
  const LeituraCatalogo leitura = CCatalogoMensagens::Le(modulo, mensagem);
  if (!leitura.aberto) {
    AvisaCatalogoInacessivel(leitura.caminho);
    return;
  }
  std::string texto = leitura.texto;
  if (texto.empty()) {
    char falta[200];
    std::snprintf(falta, sizeof falta, "Mensagem %u não encontrada no arquivo de mensagens do módulo %s.", mensagem,
                  modulo.c_str());
    texto = falta;
  }
  const std::string titulo = TituloDoModulo(modulo);
  Registra(qmx::eventos::EVENTLOG_INFORMATION_TYPE, mensagem, titulo, texto);
  ui::CaixaMensagem(texto, titulo, ui::MB_ICONEXCLAMATION);
}

}  // namespace qmx::mensagens
