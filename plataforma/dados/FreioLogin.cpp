#include "plataforma/dados/FreioLogin.h"

#include <algorithm>
#include <thread>

#include "plataforma/calendario/JanelaDatas.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/eventos/LogEventos.h"
#include "plataforma/mensagens/ZTMens.h"

namespace qmx::dados {
namespace {

RelogioFreio& Relogio() {
  static RelogioFreio relogio{[] { return InstanteFreio(std::chrono::milliseconds(AgoraDaFonte())); },
                              [](std::chrono::milliseconds tempo) { std::this_thread::sleep_for(tempo); }};
  return relogio;
}

std::int64_t Milissegundos(InstanteFreio instante) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(instante.time_since_epoch()).count();
}

void Registra(const std::string& texto, const std::string& detalhe) {
  eventos::CLogEventos log(mensagens::kFonteEventos);
  log.Reporta(eventos::EVENTLOG_WARNING_TYPE, 0, 0, {texto, detalhe});
}

}  // namespace

std::chrono::milliseconds CFreioLogin::Espera(int seguidas, InstanteFreio ultima, InstanteFreio agora) {
  if (seguidas < kFalhasSemEspera || agora - ultima >= kJanela) return std::chrono::milliseconds{0};
  const int dobras = std::min(seguidas - kFalhasSemEspera, 5);
  return std::min(kPrimeiraEspera * (1 << dobras), kEsperaMaxima);
}

com::HRESULT CFreioLogin::EsperaDevida(const std::string& login, std::chrono::milliseconds* espera) {
  int seguidas = 0;
  std::int64_t ultima = 0;
  const com::HRESULT lido = m_usuarios.LeFalhasLogin(login, &seguidas, &ultima);
  if (com::FAILED(lido)) return lido;
  *espera = Espera(seguidas, InstanteFreio(std::chrono::milliseconds(ultima)), Relogio().agora());
  return com::S_OK;
}

com::HRESULT CFreioLogin::RegistraFalha(const std::string& login, int* seguidas) {
  return m_usuarios.RegistraFalhaLogin(login, Milissegundos(Relogio().agora()), kJanela.count(), seguidas);
}

com::HRESULT CFreioLogin::RegistraSucesso(const std::string& login) { return m_usuarios.LimpaFalhasLogin(login); }

com::HRESULT CFreioLogin::Autentica(const std::string& login, const std::string& senha, std::uint16_t* usuario) {
  std::chrono::milliseconds espera{0};
  if (const com::HRESULT lido = EsperaDevida(login, &espera); com::FAILED(lido)) return lido;
  if (espera.count() > 0) {
    Registra("Login do usuário \"" + login + "\" aguardou " + std::to_string(espera.count()) + " ms",
             "por falhas seguidas de tentativas anteriores");
    Relogio().espera(espera);
  }
  const com::HRESULT resultado = m_usuarios.Autentica(login, senha, usuario);
  if (com::FAILED(resultado)) return resultado;
  if (*usuario != 0) return RegistraSucesso(login);
  int seguidas = 0;
  if (const com::HRESULT contado = RegistraFalha(login, &seguidas); com::FAILED(contado)) return contado;
  Registra("Login recusado para o usuário \"" + login + "\":",
           std::to_string(seguidas) + (seguidas == 1 ? " falha seguida" : " falhas seguidas"));
  return com::S_OK;
}

CRelogioFreioSubstituido::CRelogioFreioSubstituido(RelogioFreio relogio) : m_anterior(Relogio()) {
  Relogio() = std::move(relogio);
}

CRelogioFreioSubstituido::~CRelogioFreioSubstituido() { Relogio() = std::move(m_anterior); }

}  // namespace qmx::dados
