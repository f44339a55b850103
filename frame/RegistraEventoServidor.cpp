#include "frame/RegistraEventoServidor.h"

#include <cstdio>
#include <vector>

#include "plataforma/eventos/LogEventos.h"
#include "plataforma/mensagens/MensagemSistema.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/processo/ProcessoComPipe.h"

namespace qmx {

void RegistraEventoServidor(const com::CLSID& clsid, com::HRESULT resultado, std::uint16_t tipo,
                            const std::string& mensagem) {
  eventos::CLogEventos log(mensagens::kFonteEventos);
  if (!log.Registrada()) return;
  std::string sistema = mensagens::TextoErroSistema(static_cast<std::uint32_t>(resultado));
  if (sistema.size() > 255) sistema.resize(255);  // the system text's buffer
  const std::string programa = processo::CaminhoPrograma();
  const std::string classe = com::TextoGuid(clsid);
  std::vector<char> detalhe(sistema.size() + classe.size() + programa.size() + 64);
  std::snprintf(detalhe.data(), detalhe.size(), "\nHR: 0x%X (%s)\nCLSID: %s\nPrograma: %s\n",
                static_cast<unsigned>(resultado), sistema.c_str(), classe.c_str(), programa.c_str());
  log.Reporta(tipo, 0, static_cast<std::uint32_t>(resultado), {mensagem, detalhe.data()});
}

}  // namespace qmx
