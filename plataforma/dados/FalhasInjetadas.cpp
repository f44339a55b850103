#include "plataforma/dados/FalhasInjetadas.h"

#include <atomic>

namespace qmx::dados {

namespace {
std::atomic<bool> g_ativa{false};
std::atomic<int> g_restantes{0};
std::atomic<int> g_contados{0};
std::atomic<com::HRESULT> g_codigo{0};
}  // namespace

void InjetaFalhaDados(int passo, com::HRESULT codigo) {
  g_codigo = codigo;
  g_restantes = passo;
  g_contados = 0;
  g_ativa = passo > 0 || codigo != 0;
}

int PassosDadosContados() { return g_contados; }

std::optional<com::HRESULT> FalhaInjetadaAgora() {
  if (!g_ativa.load(std::memory_order_relaxed)) return std::nullopt;
  ++g_contados;
  if (g_restantes > 0 && --g_restantes == 0) return g_codigo.load();
  return std::nullopt;
}

}  // namespace qmx::dados
