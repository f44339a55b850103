#pragma once

#include <cstdint>
#include <functional>

namespace qmx {

// Pauses the calling thread. Every wait of the library goes through here so
// that tests can count the waits instead of sitting through them.
void Dorme(std::uint32_t milissegundos);

using FuncaoEspera = std::function<void(std::uint32_t milissegundos)>;

// Replaces the wait for the life of the object (tests).
class EsperaSubstituida {
 public:
  explicit EsperaSubstituida(FuncaoEspera espera);
  ~EsperaSubstituida();
  EsperaSubstituida(const EsperaSubstituida&) = delete;
  EsperaSubstituida& operator=(const EsperaSubstituida&) = delete;

 private:
  FuncaoEspera m_anterior;
};

}  // namespace qmx
