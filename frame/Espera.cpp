#include "frame/Espera.h"

#include <chrono>
#include <thread>

namespace qmx {
namespace {

FuncaoEspera& EsperaAtual() {
  static FuncaoEspera espera;
  return espera;
}

}  // namespace

void Dorme(std::uint32_t milissegundos) {
  if (const FuncaoEspera& espera = EsperaAtual()) {
    espera(milissegundos);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milissegundos));
}

EsperaSubstituida::EsperaSubstituida(FuncaoEspera espera) : m_anterior(std::move(EsperaAtual())) {
  EsperaAtual() = std::move(espera);
}

EsperaSubstituida::~EsperaSubstituida() { EsperaAtual() = std::move(m_anterior); }

}  // namespace qmx
