#include "plataforma/eventos/LogEventos.h"

#include "plataforma/texto/TextoLargo.h"

#include <windows.h>


namespace qmx::eventos {

using texto::Largo;

bool CLogEventos::AbreNoSistema() {
  HANDLE origem = RegisterEventSourceW(nullptr, Largo(m_fonte).c_str());
  m_sistema = origem;
  return origem != nullptr;
}

void CLogEventos::FechaNoSistema() { DeregisterEventSource(static_cast<HANDLE>(m_sistema)); }

bool CLogEventos::EscreveNoSistema(std::uint16_t tipo, std::uint16_t categoria, std::uint32_t id,
                                   const std::vector<std::string>& textos) {
  std::vector<std::wstring> largos;
  for (const auto& texto : textos) largos.push_back(Largo(texto));
  std::vector<LPCWSTR> ponteiros;
  for (const auto& largo : largos) ponteiros.push_back(largo.c_str());
  return ReportEventW(static_cast<HANDLE>(m_sistema), tipo, categoria, id, nullptr,
                      static_cast<WORD>(ponteiros.size()), 0, ponteiros.empty() ? nullptr : ponteiros.data(),
                      nullptr) != FALSE;
}

}  // namespace qmx::eventos
