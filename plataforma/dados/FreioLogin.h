#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace qmx::dados {

using InstanteFreio = std::chrono::steady_clock::time_point;

// Slows down whoever guesses passwords. Each login name's failures in a row
// are counted until the name logs in or a minute passes without a failure.
// From the fifth failure on, each further attempt waits before its password
// is checked: one second after the fifth, doubling with each failure after
// it, never more than thirty seconds. An operator who mistypes a few times
// never waits; a script that tries password after password soon gets two
// tries a minute.
class CFreioLogin {
 public:
  static constexpr int kFalhasSemEspera = 5;
  static constexpr std::chrono::seconds kJanela{60};
  static constexpr std::chrono::milliseconds kPrimeiraEspera{1000};
  static constexpr std::chrono::milliseconds kEsperaMaxima{30000};

  // The wait owed before an attempt of this name at `agora`.
  std::chrono::milliseconds EsperaDevida(const std::string& login, InstanteFreio agora);
  // Waits what is owed (through the throttle's clock).
  void AguardaVez(const std::string& login);
  // Notes a failure now; the name's failures in a row, this one included.
  int RegistraFalha(const std::string& login);
  void RegistraSucesso(const std::string& login) { m_falhas.erase(login); }
  // Forgets every name.
  void Esquece() { m_falhas.clear(); }

 private:
  struct Falhas {
    int seguidas = 0;
    InstanteFreio ultima{};
  };
  std::map<std::string, Falhas> m_falhas;
};

// The throttle of the process's users' server.
CFreioLogin& FreioLogin();

// The throttle's clock and its way to wait.
struct RelogioFreio {
  std::function<InstanteFreio()> agora;
  std::function<void(std::chrono::milliseconds)> espera;
};

// Replaces the clock and the wait for the life of the object, starting and
// ending with a throttle that remembers nothing (tests: nobody sleeps).
class CRelogioFreioSubstituido {
 public:
  explicit CRelogioFreioSubstituido(RelogioFreio relogio);
  ~CRelogioFreioSubstituido();
  CRelogioFreioSubstituido(const CRelogioFreioSubstituido&) = delete;
  CRelogioFreioSubstituido& operator=(const CRelogioFreioSubstituido&) = delete;

 private:
  RelogioFreio m_anterior;
};

}  // namespace qmx::dados
