#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "plataforma/com/HResult.h"

namespace qmx::dados {

class CConexaoUsuario;

using InstanteFreio = std::chrono::system_clock::time_point;

// Slows down whoever guesses passwords, in every process and terminal of
// the company at once: each login name's failures in a row are kept in the
// users' data, counted until the name logs in or a minute passes without a
// failure. From the fifth failure on, each further attempt, by whichever
// process makes it, waits before its password is checked: one second after
// the fifth, doubling with each failure after it, never more than thirty
// seconds. An operator who mistypes a few times never waits; a script that
// tries password after password, from as many processes as it likes, soon
// gets two tries a minute. Each wait goes to the event log.
class CFreioLogin {
 public:
  static constexpr int kFalhasSemEspera = 5;
  static constexpr std::chrono::milliseconds kJanela{60000};
  static constexpr std::chrono::milliseconds kPrimeiraEspera{1000};
  static constexpr std::chrono::milliseconds kEsperaMaxima{30000};

  explicit CFreioLogin(CConexaoUsuario& usuarios) : m_usuarios(usuarios) {}

  // The wait that `seguidas` failures in a row, the last at `ultima`, owe
  // an attempt at `agora`.
  static std::chrono::milliseconds Espera(int seguidas, InstanteFreio ultima, InstanteFreio agora);

  // The wait owed now by an attempt of the name; a failure to read the
  // users' data comes back as it is.
  com::HRESULT EsperaDevida(const std::string& login, std::chrono::milliseconds* espera);
  // Notes a failure now; *seguidas answers the name's failures in a row.
  com::HRESULT RegistraFalha(const std::string& login, int* seguidas);
  com::HRESULT RegistraSucesso(const std::string& login);

  // A login as the users' server takes it: waits what is owed (through the
  // throttle's clock), checks the password, counts the outcome. *usuario
  // is 0 when the name or the password is wrong.
  com::HRESULT Autentica(const std::string& login, const std::string& senha, std::uint16_t* usuario);

 private:
  CConexaoUsuario& m_usuarios;
};

// The throttle's clock and its way to wait. By default, the library clock
// (through the platform's source of now, so that a simulated clock runs the
// throttle too) and a sleep.
struct RelogioFreio {
  std::function<InstanteFreio()> agora;
  std::function<void(std::chrono::milliseconds)> espera;
};

// Replaces the clock and the wait for the life of the object (tests:
// nobody sleeps).
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
