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
      m_proximo(std::chrono::steady_clock::now() + std::chrono::milliseconds(g_intervalo.load())),
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
  if (m_unidade == Unidade::Cupons)
    return m_total > 0 ? ComMilhares(m_passos) + " de " + ComMilhares(m_total) + " cupons"
                       : ComMilhares(m_passos) + " cupons";
  if (m_bytes == 0 && m_linhas > 0) return ComMilhares(m_linhas) + " linhas lidas";
  // Megabytes with one decimal, as the operator reads them.
  const std::int64_t decimos = m_bytes * 10 / (1024 * 1024);
  return ComMilhares(decimos / 10) + "," + std::to_string(decimos % 10) + " MB gravados";
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
