#include "plataforma/dados/FalhasInjetadas.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace qmx::dados {

namespace {
std::atomic<bool> g_ativa{false};
std::atomic<int> g_restantes{0};
std::atomic<int> g_contados{0};
std::atomic<com::HRESULT> g_codigo{0};
std::atomic<int> g_iniciosRestantes{0};
std::atomic<com::HRESULT> g_codigoInicio{0};

struct FalhasAtivacao {
  std::mutex trava;
  std::deque<com::HRESULT> respostas;
  int respondidas = 0;
};
FalhasAtivacao& Ativacoes() {
  static FalhasAtivacao falhas;
  return falhas;
}
}  // namespace

void InjetaFalhaDados(int passo, com::HRESULT codigo) {
  g_codigo = codigo;
  g_restantes = passo;
  g_contados = 0;
  g_ativa = passo > 0 || codigo != 0;
}

int PassosDadosContados() { return g_contados; }

namespace {

struct EscritaInjetada {
  std::mutex trava;
  int restantes = 0;
  std::function<void()> escrita;
};

EscritaInjetada& Escrita() {
  static EscritaInjetada escrita;
  return escrita;
}

std::atomic<bool> g_escritaAtiva{false};

}  // namespace

void InjetaEscritaNoPasso(int passo, std::function<void()> escrita) {
  EscritaInjetada& e = Escrita();
  std::lock_guard<std::mutex> trava(e.trava);
  e.restantes = passo;
  e.escrita = std::move(escrita);
  g_escritaAtiva = passo > 0 && static_cast<bool>(e.escrita);
}

void EscritaInjetadaAgora() {
  if (!g_escritaAtiva.load(std::memory_order_relaxed)) return;
  std::function<void()> escrita;
  {
    EscritaInjetada& e = Escrita();
    std::lock_guard<std::mutex> trava(e.trava);
    if (e.restantes <= 0 || --e.restantes > 0) return;
    escrita = std::move(e.escrita);
    g_escritaAtiva = false;
  }
  escrita();
}

std::optional<com::HRESULT> FalhaInjetadaAgora() {
  if (!g_ativa.load(std::memory_order_relaxed)) return std::nullopt;
  ++g_contados;
  if (g_restantes > 0 && --g_restantes == 0) return g_codigo.load();
  return std::nullopt;
}

void InjetaFalhasAtivacao(std::vector<com::HRESULT> respostas) {
  FalhasAtivacao& falhas = Ativacoes();
  std::lock_guard<std::mutex> trava(falhas.trava);
  falhas.respostas.assign(respostas.begin(), respostas.end());
  falhas.respondidas = 0;
}

int FalhasAtivacaoRespondidas() {
  FalhasAtivacao& falhas = Ativacoes();
  std::lock_guard<std::mutex> trava(falhas.trava);
  return falhas.respondidas;
}

std::optional<com::HRESULT> FalhaAtivacaoAgora() {
  FalhasAtivacao& falhas = Ativacoes();
  std::lock_guard<std::mutex> trava(falhas.trava);
  if (falhas.respostas.empty()) return std::nullopt;
  const com::HRESULT resposta = falhas.respostas.front();
  falhas.respostas.pop_front();
  ++falhas.respondidas;
  return resposta;
}

void InjetaFalhaInicializacao(int inicio, com::HRESULT codigo) {
  g_codigoInicio = codigo;
  g_iniciosRestantes = inicio;
}

std::optional<com::HRESULT> FalhaInicializacaoAgora() {
  if (g_iniciosRestantes.load(std::memory_order_relaxed) <= 0) return std::nullopt;
  if (--g_iniciosRestantes == 0) return g_codigoInicio.load();
  return std::nullopt;
}

}  // namespace qmx::dados
