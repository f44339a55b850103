#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "plataforma/com/HResult.h"

namespace qmx::dados {

// Faults for tests: the data servers fail at a chosen step, as a server
// that goes away in the middle of a file would. Every operation of a
// connection counts one step, and a walk over days one step per day.
// Without an injection nothing is counted and nothing fails.

// The n-th step from now (1: the next one) fails with the code. Step 0
// with code 0 turns counting off; step 0 with a code only counts.
void InjetaFalhaDados(int passo, com::HRESULT codigo);
// Steps counted since the last injection (to find how many a run takes).
int PassosDadosContados();

// Counts a step; the code to fail with when it is the chosen one.
std::optional<com::HRESULT> FalhaInjetadaAgora();

// Clears the injection when it goes out of scope.
class CFalhaDadosInjetada {
 public:
  CFalhaDadosInjetada(int passo, com::HRESULT codigo) { InjetaFalhaDados(passo, codigo); }
  ~CFalhaDadosInjetada() { InjetaFalhaDados(0, 0); }
  CFalhaDadosInjetada(const CFalhaDadosInjetada&) = delete;
  CFalhaDadosInjetada& operator=(const CFalhaDadosInjetada&) = delete;
};

// A till that writes while a file is made: at the n-th step from now (1:
// the next one) the action runs, on a session of its own, and then the
// step goes on. Counted apart from the faults above.
void InjetaEscritaNoPasso(int passo, std::function<void()> escrita);
// Counts a step; runs the action when it is the chosen one.
void EscritaInjetadaAgora();

class CEscritaNoPassoInjetada {
 public:
  CEscritaNoPassoInjetada(int passo, std::function<void()> escrita) { InjetaEscritaNoPasso(passo, std::move(escrita)); }
  ~CEscritaNoPassoInjetada() { InjetaEscritaNoPasso(0, {}); }
  CEscritaNoPassoInjetada(const CEscritaNoPassoInjetada&) = delete;
  CEscritaNoPassoInjetada& operator=(const CEscritaNoPassoInjetada&) = delete;
};

// Activation faults: the next activations of the library's data servers
// answer these results, one each in order (a server that cannot be
// reached, one that refuses), and make objects again once they are used
// up. An empty list clears them.
void InjetaFalhasAtivacao(std::vector<com::HRESULT> respostas);
// How many of the injected results have been answered.
int FalhasAtivacaoRespondidas();
// The result a data server's activation answers now instead of making an
// object, if one is injected (and counts it).
std::optional<com::HRESULT> FalhaAtivacaoAgora();

class CFalhasAtivacaoInjetadas {
 public:
  explicit CFalhasAtivacaoInjetadas(std::vector<com::HRESULT> respostas) {
    InjetaFalhasAtivacao(std::move(respostas));
  }
  ~CFalhasAtivacaoInjetadas() { InjetaFalhasAtivacao({}); }
  CFalhasAtivacaoInjetadas(const CFalhasAtivacaoInjetadas&) = delete;
  CFalhasAtivacaoInjetadas& operator=(const CFalhasAtivacaoInjetadas&) = delete;
};

// Start-up faults: the n-th connection started from now (1: the next one)
// answers the code instead of connecting, as a server that is not there.
// Starts are not data steps: they never shift the steps counted above.
void InjetaFalhaInicializacao(int inicio, com::HRESULT codigo);
// Counts a start; the code to fail with when it is the chosen one.
std::optional<com::HRESULT> FalhaInicializacaoAgora();

class CFalhaInicializacaoInjetada {
 public:
  CFalhaInicializacaoInjetada(int inicio, com::HRESULT codigo) { InjetaFalhaInicializacao(inicio, codigo); }
  ~CFalhaInicializacaoInjetada() { InjetaFalhaInicializacao(0, 0); }
  CFalhaInicializacaoInjetada(const CFalhaInicializacaoInjetada&) = delete;
  CFalhaInicializacaoInjetada& operator=(const CFalhaInicializacaoInjetada&) = delete;
};

}  // namespace qmx::dados
