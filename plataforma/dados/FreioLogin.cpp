#include "plataforma/dados/FreioLogin.h"

#include <algorithm>
#include <thread>

namespace qmx::dados {
namespace {

// Names kept at most before the rested ones are dropped, so that trying
// many names cannot fill the memory.
constexpr std::size_t kNomesGuardados = 4096;

RelogioFreio& Relogio() {
  static RelogioFreio relogio{[] { return std::chrono::steady_clock::now(); },
                              [](std::chrono::milliseconds tempo) { std::this_thread::sleep_for(tempo); }};
  return relogio;
}

}  // namespace

std::chrono::milliseconds CFreioLogin::EsperaDevida(const std::string& login, InstanteFreio agora) {
  const auto encontrado = m_falhas.find(login);
  if (encontrado == m_falhas.end()) return std::chrono::milliseconds{0};
  const Falhas& falhas = encontrado->second;
  if (agora - falhas.ultima >= kJanela || falhas.seguidas < kFalhasSemEspera) return std::chrono::milliseconds{0};
  const int dobras = std::min(falhas.seguidas - kFalhasSemEspera, 5);
  return std::min(kPrimeiraEspera * (1 << dobras), kEsperaMaxima);
}

void CFreioLogin::AguardaVez(const std::string& login) {
  const auto espera = EsperaDevida(login, Relogio().agora());
  if (espera.count() > 0) Relogio().espera(espera);
}

int CFreioLogin::RegistraFalha(const std::string& login) {
  const InstanteFreio agora = Relogio().agora();
  if (m_falhas.size() >= kNomesGuardados)
    std::erase_if(m_falhas, [&](const auto& par) { return agora - par.second.ultima >= kJanela; });
  Falhas& falhas = m_falhas[login];
  if (agora - falhas.ultima >= kJanela) falhas.seguidas = 0;
  falhas.seguidas = std::min(falhas.seguidas + 1, 1000);
  falhas.ultima = agora;
  return falhas.seguidas;
}

CFreioLogin& FreioLogin() {
  static CFreioLogin freio;
  return freio;
}

CRelogioFreioSubstituido::CRelogioFreioSubstituido(RelogioFreio relogio) : m_anterior(Relogio()) {
  Relogio() = std::move(relogio);
  FreioLogin().Esquece();
}

CRelogioFreioSubstituido::~CRelogioFreioSubstituido() {
  Relogio() = std::move(m_anterior);
  FreioLogin().Esquece();
}

}  // namespace qmx::dados
