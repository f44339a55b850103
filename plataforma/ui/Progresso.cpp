#include "plataforma/ui/Progresso.h"

#include <atomic>
#include <cstdlib>

#include "plataforma/ui/HostUI.h"

namespace qmx::ui {

namespace {

// The interval between reports: QMX_PROGRESSO_MS when given (tools and
// tests that must see reports of short work), else kIntervalo.
std::int64_t IntervaloInicial() {
  const char* texto = std::getenv("QMX_PROGRESSO_MS");
  if (!texto || !*texto) return CProgresso::kIntervalo.count();
  char* fim = nullptr;
  const long long valor = std::strtoll(texto, &fim, 10);
  return fim && *fim == '\0' && valor >= 0 ? valor : CProgresso::kIntervalo.count();
}

std::atomic<std::int64_t> g_intervalo{IntervaloInicial()};

// 1234567 as "1.234.567".
std::string ComMilhares(std::int64_t valor) {
  std::string digitos = std::to_string(valor < 0 ? -valor : valor), saida;
  for (std::size_t i = 0; i < digitos.size(); ++i) {
    if (i > 0 && (digitos.size() - i) % 3 == 0) saida += '.';
    saida += digitos[i];
  }
  return valor < 0 ? "-" + saida : saida;
}

}  // namespace

CProgresso::CProgresso(std::string titulo, Unidade unidade, std::int64_t total)
    : m_titulo(std::move(titulo)),
      m_unidade(unidade),
      m_total(total),
      m_inicio(std::chrono::steady_clock::now()),
      m_proximo(m_inicio + std::chrono::milliseconds(g_intervalo.load())),
      m_anterior(processo::DefineObservadorAndamento(this)) {
  // With every step shown, the work's start is shown too, before anything
  // is done: a stop there leaves no trace of the work at all.
  if (g_intervalo.load() > 0) return;
  try {
    Relata();
  } catch (...) {
    processo::DefineObservadorAndamento(m_anterior);
    HostAtual().FimProgresso();
    throw;
  }
}

CProgresso::~CProgresso() {
  processo::DefineObservadorAndamento(m_anterior);
  if (m_relatado) HostAtual().FimProgresso();
}

std::chrono::milliseconds CProgresso::DefineIntervalo(std::chrono::milliseconds intervalo) {
  return std::chrono::milliseconds(g_intervalo.exchange(intervalo.count()));
}

std::string CProgresso::Texto() const {
  return Texto(m_unidade, m_total, m_passos, m_bytes, m_linhas,
               std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_inicio));
}

std::string CProgresso::Texto(Unidade unidade, std::int64_t total, std::int64_t passos, std::int64_t bytes,
                              std::int64_t linhas, std::chrono::milliseconds decorrido) {
  // Before a second has gone by a rate says little.
  const std::int64_t ms = decorrido.count();
  const bool medido = ms >= 1000;
  const auto decimal = [](std::int64_t decimos) {
    return ComMilhares(decimos / 10) + "," + std::to_string(decimos % 10);
  };
  if (unidade == Unidade::Cupons) {
    if (total <= 0) return ComMilhares(passos) + " cupons";
    std::string texto = ComMilhares(passos) + " de " + ComMilhares(total) + " cupons";
    if (medido && passos > 0 && passos < total) {
      // What is left at the pace so far, rounded up: seconds under a minute, else minutes.
      const std::int64_t restante = (ms * (total - passos) + passos - 1) / passos;
      texto += restante < 60000 ? ", faltam cerca de " + std::to_string((restante + 999) / 1000) + " s"
                                : ", faltam cerca de " + std::to_string((restante + 59999) / 60000) + " min";
    }
    return texto;
  }
  if (bytes == 0 && linhas > 0) return ComMilhares(linhas) + " linhas lidas";
  // Megabytes with one decimal, as the operator reads them.
  constexpr std::int64_t kMega = 1024 * 1024;
  std::string texto = decimal(bytes * 10 / kMega) + " MB gravados";
  if (medido) texto += ", " + decimal(bytes * 10000 / kMega / ms) + " MB/s";
  return texto;
}

void CProgresso::Avanca(std::int64_t passos) {
  m_passos += passos;
  Relata();
}

void CProgresso::Escreveu(std::int64_t bytes) {
  m_bytes += bytes;
  Relata();
}

void CProgresso::Leu(std::int64_t linhas) {
  m_linhas += linhas;
  Relata();
}

void CProgresso::Relata() {
  const auto agora = std::chrono::steady_clock::now();
  if (agora < m_proximo) return;
  m_proximo = agora + std::chrono::milliseconds(g_intervalo.load());
  m_relatado = true;
  const std::int64_t feito = m_unidade == Unidade::Cupons ? m_passos : m_bytes;
  if (!HostAtual().Progresso(AndamentoTrabalho{m_titulo, Texto(), feito, m_total}))
    throw processo::CTrabalhoCancelado();
}

}  // namespace qmx::ui
