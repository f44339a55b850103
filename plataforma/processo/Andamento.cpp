#include "plataforma/processo/Andamento.h"

namespace qmx::processo {

namespace {
thread_local IObservadorAndamento* t_observador = nullptr;
}  // namespace

IObservadorAndamento* ObservadorAndamento() { return t_observador; }

IObservadorAndamento* DefineObservadorAndamento(IObservadorAndamento* observador) {
  IObservadorAndamento* anterior = t_observador;
  t_observador = observador;
  return anterior;
}

}  // namespace qmx::processo
