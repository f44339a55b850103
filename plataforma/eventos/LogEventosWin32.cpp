#include "plataforma/eventos/LogEventos.h"

#include "plataforma/texto/TextoLargo.h"

#include <windows.h>


namespace qmx::eventos {

using texto::Largo;
namespace {

CCapturaEventos* g_captura = nullptr;

}  // namespace

CLogEventos::CLogEventos(const std::string& fonte) : m_fonte(fonte) {
  if (m_fonte.empty()) return;
  if (g_captura) {
    m_registrada = !g_captura->m_recusaRegistro;
    return;
  }
  HANDLE origem = RegisterEventSourceW(nullptr, Largo(m_fonte).c_str());
  if (!origem) return;
  m_sistema = origem;
  m_registrada = true;
  m_noSistema = true;
}

CLogEventos::~CLogEventos() {
  if (m_noSistema) DeregisterEventSource(static_cast<HANDLE>(m_sistema));
}

bool CLogEventos::Reporta(std::uint16_t tipo, std::uint16_t categoria, std::uint32_t id,
                          const std::vector<std::string>& textos) {
  if (!m_registrada) return false;
  if (!m_noSistema) {
    if (!g_captura) return false;  // the capture that registered it has ended
    g_captura->m_eventos.push_back({m_fonte, tipo, categoria, id, textos});
    return true;
  }
  std::vector<std::wstring> largos;
  for (const auto& texto : textos) largos.push_back(Largo(texto));
  std::vector<LPCWSTR> ponteiros;
  for (const auto& largo : largos) ponteiros.push_back(largo.c_str());
  return ReportEventW(static_cast<HANDLE>(m_sistema), tipo, categoria, id, nullptr,
                      static_cast<WORD>(ponteiros.size()), 0, ponteiros.empty() ? nullptr : ponteiros.data(),
                      nullptr) != FALSE;
}

CCapturaEventos::CCapturaEventos() : m_anterior(g_captura) { g_captura = this; }

CCapturaEventos::~CCapturaEventos() { g_captura = m_anterior; }

}  // namespace qmx::eventos
