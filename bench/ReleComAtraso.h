// A TCP relay on the loopback that holds every piece of data for a fixed
// time in each direction before passing it on, bytes untouched: a database
// server across a network as the library sees it (0.5 ms each way is a
// 1 ms round trip, a LAN with a switch or two).
#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace qmx::bench {

class CReleComAtraso {
 public:
  // Listens on 127.0.0.1 (a port of the system's choice) and relays each
  // connection to servidor:porta. Throws std::runtime_error when it cannot
  // listen.
  CReleComAtraso(const std::string& servidor, int porta, std::chrono::microseconds atrasoCadaSentido);
  // Closes every connection and waits for its threads.
  ~CReleComAtraso();
  CReleComAtraso(const CReleComAtraso&) = delete;
  CReleComAtraso& operator=(const CReleComAtraso&) = delete;

  int Porta() const;

 private:
  struct Estado;
  std::unique_ptr<Estado> m_estado;
};

// The same PostgreSQL connection string with its host and port replaced
// (the others kept in order); empty when it names no TCP host (a Unix
// socket cannot be relayed).
std::string ConexaoPeloRele(const std::string& conexao, int porta, std::string* servidor, int* portaServidor);

}  // namespace qmx::bench
